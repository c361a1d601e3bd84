#include "support/ProgramOnDisplay.h"

#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QStandardPaths>
#include <QTest>

namespace {

bool copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &entry : entries) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            if (!copyTree(entry.filePath(), target))
                return false;
        } else if (entry.fileName() != QLatin1String(".keep") && !QFile::copy(entry.filePath(), target)) {
            return false;
        }
    }
    return true;
}

// The demo script on the root at path, bounded: a start that hangs fails the test in time.
bool startDemoDevices(const QString &source, const QString &path)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedChannels);
    script.start(source + "/scripts/demo-devices.sh", {path});
    if (!script.waitForFinished(60000)) {
        qWarning("the demo devices did not start within 60 s");
        script.kill();
        script.waitForFinished();
        return false;
    }
    return script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
}

} // namespace

ProgramOnDisplay::~ProgramOnDisplay()
{
    if (m_xvfb.state() != QProcess::NotRunning) {
        m_xvfb.terminate();
        m_xvfb.waitForFinished(5000);
    }
}

bool ProgramOnDisplay::hasXvfb()
{
    return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty();
}

bool ProgramOnDisplay::startDisplay()
{
    m_xvfb.start(QStringLiteral("Xvfb"),
                 {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-ac"});
    if (!m_xvfb.waitForStarted()
        // A loaded machine can take Xvfb several seconds to come up.
        || !QTest::qWaitFor([this] { return m_xvfb.canReadLine(); }, 30000))
        return false;
    m_display = QLatin1Char(':') + QString::fromLatin1(m_xvfb.readLine().trimmed());
    return true;
}

bool ProgramOnDisplay::makeDemoRoot(const QString &path)
{
    const QString source = TestPaths::sourceDir();
    return copyTree(source + "/demo/root", path)
           && QFile::copy(source + "/sim/VEDIRUDO-ZER", path + "/InternalReadOnly/Mibs/Vm/VEDIRUDO-ZER")
           && QDir().mkpath(path + "/work") && QDir().mkpath(path + "/tmp")
           && startDemoDevices(source, path);
}

bool ProgramOnDisplay::startProgram(const QString &path, QProcess &program) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("QT_QUICK_BACKEND");
    env.insert("DISPLAY", m_display);
    env.insert("NRT52_ROOT", path);
    env.insert("TMPDIR", path + "/tmp");
    // Under the sanitizer suite the program is checked for memory errors; its leaks are
    // checked in-process by the frame tests, whose fully unwound stacks would make this
    // run too slow.
    if (env.contains("ASAN_OPTIONS"))
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":fast_unwind_on_malloc=1:detect_leaks=0");
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(path + "/work");
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.setStandardOutputFile(path + "/program.out");
    program.start(TestPaths::buildDir() + "/nrt52", QStringList());
    return program.waitForStarted();
}

QString ProgramOnDisplay::lastWords(const QString &path)
{
    QString words;
    for (const QString &name : {QStringLiteral("program.out"), QStringLiteral("work/pcapplication.log")}) {
        QFile file(path + '/' + name);
        if (!file.open(QIODevice::ReadOnly)) {
            words += QStringLiteral("\n%1: not there").arg(name);
            continue;
        }
        // The program writes both in Shift-JIS.
        static QTextCodec *const shiftJis = QTextCodec::codecForName("Shift-JIS");
        const QStringList lines = shiftJis->toUnicode(file.readAll()).split('\n');
        words += QStringLiteral("\n--- last lines of %1:").arg(name);
        for (int i = qMax(0, lines.size() - 12); i < lines.size(); ++i)
            words += '\n' + lines.at(i);
    }
    return words;
}

void ProgramOnDisplay::stopDevices(const QString &path)
{
    QProcess::execute(TestPaths::sourceDir() + "/sim/simctl", {"stop", "--dir", path + "/sim"});
}

QString ProgramOnDisplay::waitForColour(const QPoint &point, const QColor &colour, const QString &what,
                                       int timeoutMs) const
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("screen.png"));
    QColor seen;
    const bool shown = QTest::qWaitFor([&] {
        // The screen's one pixel, taken as ImageMagick's import sees it.
        const QString crop = QStringLiteral("1x1+%1+%2").arg(point.x()).arg(point.y());
        if (QProcess::execute(QStringLiteral("import"), {"-display", m_display, "-window", "root", "-crop", crop, path}) != 0)
            return false;
        const QImage image(path);
        if (image.isNull())
            return false;
        seen = image.pixelColor(0, 0);
        return qAbs(seen.red() - colour.red()) + qAbs(seen.green() - colour.green())
                   + qAbs(seen.blue() - colour.blue()) <= 12;
    }, timeoutMs);
    if (shown)
        return QString();
    return QStringLiteral("%1 did not show in %2 ms: (%3,%4) is %5, not %6")
        .arg(what).arg(timeoutMs).arg(point.x()).arg(point.y())
        .arg(seen.isValid() ? seen.name() : QStringLiteral("not taken"), colour.name());
}

bool ProgramOnDisplay::runTool(const QStringList &arguments) const
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", m_display);
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral("python3"),
               QStringList {TestPaths::sourceDir() + "/tests/screens/xwindow.py"} + arguments);
    return tool.waitForFinished(30000) && tool.exitCode() == 0;
}
