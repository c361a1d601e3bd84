// ctest-label: frame
// A click given while the GUI thread is busy in an operation reaches the program through the
// window system. Held back by the operation's waits, it acts once the operation is over, on
// whatever the screen shows then; with the operation's input shield up it never acts, and a
// click after the operation acts as usual. The clicks come from an X server of its own, to a
// window of a child of this test, as a person's clicks come.
#include "screens/InputShield.h"
#include "support/ProgramOnDisplay.h"
#include "support/TestPaths.h"

#include <QGuiApplication>
#include <QProcess>
#include <QThread>
#include <QWindow>
#include <QtTest>

#include <cstdio>
#include <memory>

namespace {

const char ChildVariable[] = "NRT52_INPUT_SHIELD_CHILD";

class ClickCounter : public QWindow
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

bool clickWindow()
{
    QProcess tool;
    tool.start(QStringLiteral("python3"), {TestPaths::sourceDir() + QStringLiteral("/tests/screens/xwindow.py"),
                                           QStringLiteral("click"), QStringLiteral("150"), QStringLiteral("100")});
    return tool.waitForFinished(30000) && tool.exitCode() == 0;
}

// The child: a window, an operation during which it is clicked, then a click after the
// operation. Prints how many presses the window had.
int runChild(bool shielded)
{
    ClickCounter window;
    window.setGeometry(0, 0, 300, 200);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 2;
    QTest::qWait(200);

    {
        std::unique_ptr<InputShield> shield(shielded ? new InputShield : nullptr);
        // Busy while clicked, then a wait of the kind operations make.
        if (!clickWindow())
            return 3;
        QThread::msleep(300);
        QCoreApplication::processEvents(InputShield::waitFlags());
    }

    if (!clickWindow())
        return 3;
    if (!QTest::qWaitFor([&window] { return window.presses > 0; }, 10000))
        return 4;
    // Time for a second press, should one come.
    QTest::qWait(500);
    std::printf("presses %d\n", window.presses);
    return 0;
}

} // namespace

class TestInputShield : public QObject
{
    Q_OBJECT

    ProgramOnDisplay screen;

private slots:
    void initTestCase()
    {
        if (!ProgramOnDisplay::hasXvfb())
            QSKIP("Xvfb is not installed");
        QVERIFY(screen.startDisplay());
    }

    void clickDuringOperation_data()
    {
        QTest::addColumn<bool>("shielded");
        QTest::addColumn<int>("presses");
        QTest::newRow("held, acts afterwards") << false << 2;
        QTest::newRow("shielded") << true << 1;
    }
    void clickDuringOperation()
    {
        QFETCH(bool, shielded);
        QFETCH(int, presses);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(ChildVariable), shielded ? QStringLiteral("shielded") : QStringLiteral("held"));
        env.insert(QStringLiteral("DISPLAY"), screen.display());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(child.waitForStarted());
        if (!child.waitForFinished(60000)) {
            child.kill();
            child.waitForFinished();
            QFAIL("the child did not end");
        }
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromLatin1(child.readAllStandardOutput()).trimmed(),
                 QStringLiteral("presses %1").arg(presses));
    }
};

int main(int argc, char *argv[])
{
    const QByteArray child = qgetenv(ChildVariable);
    QGuiApplication application(argc, argv);
    if (!child.isEmpty())
        return runChild(child == "shielded");
    TestInputShield test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_inputshield.moc"
