// ctest-label: frame
// The window close: the quit question, the stop of the polling devices, and the
// registration written back byte for byte (ports kept, replaced as a whole).
#include "screens/FrameHost.h"

#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "screens/HomeViewModel.h"
#include "support/SimDevices.h"

#include <QElapsedTimer>
#include <QQuickItem>

namespace {

const QString Header14 = QStringLiteral(
    "No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
    "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)\n");
const QString Header11 = QStringLiteral(
    "No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,"
    "シリアルナンバー,MACアドレス,バージョン,測定状態\n");

QByteArray crlf(const QString &text)
{
    return text.toUtf8().replace("\n", "\r\n");
}

void click(QQuickWindow *window, QQuickItem *item)
{
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

} // namespace

class TestFrameClose : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FrameRoot> root;

private slots:
    void initTestCase()
    {
        QmlMessageGuard::install();
    }

    void init()
    {
        root.reset(new FrameRoot);
        QVERIFY(root->prepare());
    }

    void cleanup()
    {
        root.reset();
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }

    void writesTheRegistration_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");

        // Read with CR LF, a port, a blank line and "No" values that are not positions;
        // written with LF, numbered by position, the port kept, the real states.
        QTest::newRow("14 columns")
            << crlf(Header14 + "1,光受信点,127.0.0.2:1161,光,連続,常時,常時,1310,SN1,MAC1,FW1,0,CNR,MER\n"
                               "\n"
                               "5,衛星,127.0.0.3,同軸,5分,08:00,20:00,1625,SN2,MAC2,FW2,1,MER,CNR\n"
                               "x,無アドレス,0.0.0.0,同軸,60分,常時,常時,1490,---,---,---,0,MER,MER\n")
            << (Header14 + "1,光受信点,127.0.0.2:1161,光,連続,常時,常時,1310,SN1,MAC1,FW1,0,CNR,MER\n"
                           "2,衛星,127.0.0.3,同軸,5分,08:00,20:00,1625,SN2,MAC2,FW2,1,MER,CNR\n"
                           "3,無アドレス,0.0.0.0,同軸,60分,常時,常時,1490,---,---,---,0,MER,MER\n")
                   .toUtf8();
        QTest::newRow("11 columns become 14")
            << crlf(Header11 + "1,A,127.0.0.2,同軸,15分,常時,常時,SN1,MAC1,FW1,1\n")
            << (Header14 + "1,A,127.0.0.2,同軸,15分,常時,常時,1550,SN1,MAC1,FW1,1,MER,MER\n").toUtf8();
        QTest::newRow("no device") << crlf(Header14) << Header14.toUtf8();
    }

    void writesTheRegistration()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QVERIFY(root->writeSetting("DeviceRegistSetting.csv", input));
        {
            FrameHost host;
            QVERIFY(host.isValid());
            const int from = root->logLines().size();
            QMetaObject::invokeMethod(host.window, "buttonClicked", Q_ARG(QString, QStringLiteral("closewindow")));
            QCOMPARE(root->readFile(root->registrationPath()), expected);
            const QStringList messages = root->logMessages(from);
            QCOMPARE(messages.value(0), QStringLiteral("[MainFrameViewModel] ウィンドウを閉じる"));
            QCOMPARE(messages.value(1), QStringLiteral("[MainFrameViewModel] 測定中のレベルチェッカーを停止する"));
        }
        // What the close wrote is what the next start reads: the port is kept.
        ApplicationModel app(0, nullptr);
        HomeViewModel home(ScreenHome, &app, nullptr);
        if (input.contains("1161")) {
            QCOMPARE(app.deviceList()->device(0)->port(), 1161);
            QCOMPARE(app.deviceList()->device(0)->ipAddress(), QStringLiteral("127.0.0.2"));
        }
    }

    void quitQuestion()
    {
        const QByteArray registration = crlf(Header14 + "1,A,127.0.0.2,同軸,15分,常時,常時,1550,,,,1,MER,MER\n");
        QVERIFY(root->writeSetting("DeviceRegistSetting.csv", registration));
        FrameHost host;
        QVERIFY(host.isValid());
        QTRY_VERIFY(host.window->isVisible());
        QObject *question = host.child("messagePopup");
        QVERIFY(question);

        // A close request opens the question and is refused.
        host.window->close();
        QVERIFY(host.window->isVisible());
        QTRY_VERIFY(question->property("opened").toBool());
        click(host.window, qobject_cast<QQuickItem *>(host.child("quitNoButton")));
        QTRY_VERIFY(!question->property("opened").toBool());
        QVERIFY(host.window->isVisible());
        QCOMPARE(root->readFile(root->registrationPath()), registration);
        QCOMPARE(host.quitRequests, 0);

        // "はい": the registration is written before the quit is asked for.
        host.window->close();
        QTRY_VERIFY(question->property("opened").toBool());
        click(host.window, qobject_cast<QQuickItem *>(host.child("quitYesButton")));
        QTRY_VERIFY(!question->property("opened").toBool());
        QCOMPARE(root->readFile(root->registrationPath()),
                 (Header14 + "1,A,127.0.0.2,同軸,15分,常時,常時,1550,,,,1,MER,MER\n").toUtf8());
        QTRY_COMPARE(host.quitRequests, 1);
    }

    void failedWriteIsLoggedAndKeepsTheOldFile()
    {
        // The registration file cannot be replaced: a folder stands in its place.
        QVERIFY(QDir().mkpath(root->registrationPath()));
        FrameHost host;
        QVERIFY(host.isValid());
        host.frame->onButtonClicked(QStringLiteral("closewindow"));
        QVERIFY(QFileInfo(root->registrationPath()).isDir());
        QVERIFY(root->logMessages().contains("[MainFrameViewModel] DeviceRegistSetting.csv write ERROR"));
    }

    void closeWhileDevicesPoll()
    {
        // Two answering devices and a silent one, all measuring when the window closes.
        SimDevices sim;
        QVERIFY2(sim.start(3), qPrintable(sim.lastError()));
        QVERIFY(sim.setFault(3, SimDevices::Fault::Silent));
        QString registration = Header14;
        for (int n = 1; n <= 3; ++n) {
            registration += QStringLiteral("%1,機器%1,%2,同軸,連続,常時,常時,1550,---,---,---,0,MER,MER\n")
                                .arg(n)
                                .arg(sim.address(n));
            QVERIFY(root->writeSetting(QStringLiteral("MeasurementChannelSetting/%1.csv").arg(n),
                                       "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,"
                                       "localFrequency[KHz],powerSupply,measuring\n0,13,473142,0,0,0,1\n"));
        }
        QVERIFY(root->writeSetting("DeviceRegistSetting.csv", registration.toUtf8()));

        auto host = std::make_unique<FrameHost>();
        QVERIFY(host->isValid());
        DeviceList *devices = host->app->deviceList();
        QCOMPARE(devices->deviceCount(), 3);
        QTRY_VERIFY_WITH_TIMEOUT(devices->device(0)->pollingLoopActive() == 1
                                     && devices->device(1)->pollingLoopActive() == 1
                                     && devices->device(2)->pollingLoopActive() == 1,
                                 20000);
        QTRY_VERIFY_WITH_TIMEOUT(sim.requests(1).contains(QStringLiteral("GET 4.1")), 20000);

        QElapsedTimer elapsed;
        elapsed.start();
        host->frame->onButtonClicked(QStringLiteral("closewindow"));
        // Bounded however long the silent device keeps its worker.
        QVERIFY2(elapsed.elapsed() < MainFrameViewModel::StopWaitMs + 3000, qPrintable(QString::number(elapsed.elapsed())));
        QCOMPARE(devices->device(0)->pollingLoopActive(), 0);
        QCOMPARE(devices->device(1)->pollingLoopActive(), 0);
        // The answering devices were sent their stop selection.
        QVERIFY(sim.requests(1).contains(QStringLiteral("SET 3.1.6 0")));
        // Every device measuring at the close starts again at the next start.
        QCOMPARE(root->readFile(root->registrationPath()), registration.toUtf8());

        // main's end: the devices go only after every worker has left its loop.
        host.reset();
    }
};

QTEST_MAIN(TestFrameClose)
#include "tst_frameclose.moc"
