// ctest-label: settings
// The reboot of one device from the system setting screen: the marker is uploaded by FTP to
// a simulated device, which then answers nothing for a while; a dead FTP port and a service
// that never answers are reported as failures within a few seconds; the login never stands
// on any command line; only the latest of two quick requests is carried out, also when the
// screen is left meanwhile, and a failure after leaving is still logged.
#include "SystemSettingFixture.h"

#include "monitor/DeviceList.h"
#include "settings/RebootUpload.h"
#include "support/SimDevices.h"
#include "support/TestPaths.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// True when the device's agent answers an SNMP GET of its serial number within a second.
bool answers(const SimDevices &sim, int device)
{
    QProcess get;
    get.start(QStringLiteral("snmpget"), {QStringLiteral("-v2c"), QStringLiteral("-c"), QStringLiteral("kv52gate"),
                                          QStringLiteral("-t"), QStringLiteral("1"), QStringLiteral("-r"),
                                          QStringLiteral("0"), QStringLiteral("-m"), QString(), sim.address(device),
                                          QStringLiteral(".1.3.6.1.4.1.52817.1.70.1.2.0")});
    return get.waitForFinished(10000) && get.exitStatus() == QProcess::NormalExit && get.exitCode() == 0;
}

// Every process command line of the machine that contains text.
QStringList commandLinesWith(const QByteArray &text)
{
    QStringList found;
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QString dir = it.next();
        bool number = false;
        it.fileName().toLongLong(&number);
        if (!number)
            continue;
        QFile file(dir + QStringLiteral("/cmdline"));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QByteArray line = file.readAll();
        if (line.contains(text))
            found << dir + QLatin1Char(' ') + QString::fromLocal8Bit(line.replace('\0', ' '));
    }
    return found;
}

// A port on which nothing listens.
int deadPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

} // namespace

class TestSystemReboot : public QObject
{
    Q_OBJECT

    SimDevices sim;
    SystemSettingFixture f;
    // Accepts FTP connections and never says a word.
    QTcpServer mute;
    QList<QTcpSocket *> muteClients;

    void mapFtpPorts(int firstDevicePort, int secondDevicePort)
    {
        qputenv("NRT52_FTP_PORTS", QStringLiteral("%1=%2 %3=%4")
                                       .arg(sim.address(1)).arg(firstDevicePort)
                                       .arg(QStringLiteral("127.0.0.1:16997")).arg(secondDevicePort)
                                       .toUtf8());
    }

    // Chooses the device in the page's list and asks for its reboot, answering "はい".
    void requestReboot(int index)
    {
        QObject *select = f.pageChild(QStringLiteral("deviceSelect"));
        QVERIFY(select);
        select->setProperty("currentIndex", index);
        QVERIFY(f.click(QStringLiteral("rebootButton")));
        QCOMPARE(f.popupText(), QStringLiteral("チェッカーを再起動しますか？"));
        QVERIFY(f.click(QStringLiteral("popupYesButton")));
    }

private slots:
    void initTestCase()
    {
        // The upload is curl's; the devices' state is read back with snmpget.
        const QString missing = TestPaths::missingPrograms({QStringLiteral("curl"), QStringLiteral("snmpget")});
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QmlMessageGuard::install();
        QVERIFY2(sim.startWithFtp(1, 6), qPrintable(sim.lastError()));
        QVERIFY(sim.ftpPort(1) > 0);
        QVERIFY(mute.listen(QHostAddress::LocalHost));
        connect(&mute, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *client = mute.nextPendingConnection())
                muteClients << client;
        });
        QVERIFY(f.root.prepare());
        QVERIFY(f.writeIni("[PollingInterval]\nFirstRecv=1000\n"));
        // Registered, not measuring: the FTP upload is all that happens.
        QVERIFY(f.writeDevices({sim.address(1), QStringLiteral("127.0.0.1:16997")}, false));
        QVERIFY(f.start());
    }

    void init()
    {
        f.open();
        QVERIFY(!f.popupShown());
    }

    void cleanup()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!f.screen()->isRebootRunning(), 10000);
        if (f.popupShown())
            f.click(QStringLiteral("popupOkButton"));
        f.host->transit(QStringLiteral("Home.qml"));
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
    }

    void noDeviceChosen()
    {
        QVERIFY(f.click(QStringLiteral("rebootButton")));
        QCOMPARE(f.popupText(), QStringLiteral("登録機器を選択してください。"));
        QVERIFY(!f.screen()->isRebootRunning());
    }

    void uploadRebootsTheDevice()
    {
        mapFtpPorts(sim.ftpPort(1), deadPort());
        QVERIFY(answers(sim, 1));
        sim.clearLog(1);
        requestReboot(0);
        QTRY_VERIFY_WITH_TIMEOUT(sim.requests(1).contains(QStringLiteral("FTP STOR /data/.reboot")), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!f.screen()->isRebootRunning(), 10000);
        QVERIFY(QFile::exists(sim.deviceFolder(1) + QStringLiteral("/ftp/data/.reboot")));
        // Success shows nothing.
        QTest::qWait(200);
        QVERIFY(!f.popupShown());
        // Rebooting: no answer, and after its few seconds back again.
        QVERIFY(!answers(sim, 1));
        QTRY_VERIFY_WITH_TIMEOUT(answers(sim, 1), 20000);
    }

    void deadPortFails()
    {
        mapFtpPorts(deadPort(), deadPort());
        QElapsedTimer clock;
        clock.start();
        requestReboot(0);
        QTRY_COMPARE_WITH_TIMEOUT(f.popupText(), QStringLiteral("再起動に失敗しました。"), 5000);
        QVERIFY(clock.elapsed() < 5000);
        QVERIFY(!f.root.logMessages().filter(QStringLiteral("failed: exit 7")).isEmpty());
    }

    void silentServiceTimesOutAndTheLoginStaysHidden()
    {
        mapFtpPorts(deadPort(), mute.serverPort());
        QElapsedTimer clock;
        clock.start();
        requestReboot(1);
        QTRY_VERIFY_WITH_TIMEOUT(f.screen()->rebootProcessId() > 0, 2000);
        const qint64 curl = f.screen()->rebootProcessId();
        // The process exists before curl is executed in it: its command line comes a moment later.
        QStringList curlLine;
        QTRY_VERIFY2_WITH_TIMEOUT((curlLine = commandLinesWith(QByteArray("/data/"))).filter(QStringLiteral("/proc/%1 ").arg(curl)).size() == 1,
                                  qPrintable(curlLine.join('\n')), 2000);
        QVERIFY(curlLine.join('\n').contains(QStringLiteral("-K -")));
        // While it runs, curl's command line holds no login, and no command line of the
        // machine holds the user and password pair. (The login alone is also the SNMP
        // community, which SNMP tools of other tests may show.)
        const QByteArray pair = QByteArray(RebootUpload::Login) + ':' + RebootUpload::Login;
        while (f.screen()->isRebootRunning()) {
            const QStringList leaks = commandLinesWith(pair);
            QVERIFY2(leaks.isEmpty(), qPrintable(leaks.join('\n')));
            const QStringList ownLine = commandLinesWith(QByteArray(RebootUpload::Login)).filter(QStringLiteral("/proc/%1 ").arg(curl));
            QVERIFY2(ownLine.isEmpty(), qPrintable(ownLine.join('\n')));
            QTest::qWait(100);
        }
        QTRY_COMPARE_WITH_TIMEOUT(f.popupText(), QStringLiteral("再起動に失敗しました。"), 5000);
        QVERIFY(clock.elapsed() < 7000);
        QVERIFY(!f.root.logMessages().filter(QStringLiteral("timed out")).isEmpty());
    }

    void curlThatCannotStartFails()
    {
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(f.root.path() + QStringLiteral("/tmp")));
        mapFtpPorts(sim.ftpPort(1), sim.ftpPort(1));
        requestReboot(0);
        qputenv("PATH", path);
        QTRY_COMPARE_WITH_TIMEOUT(f.popupText(), QStringLiteral("再起動に失敗しました。"), 5000);
        QVERIFY(!f.root.logMessages().filter(QStringLiteral("curl could not be started")).isEmpty());
    }

    void onlyTheLatestRequestIsCarriedOut()
    {
        mapFtpPorts(sim.ftpPort(1), mute.serverPort());
        sim.clearLog(1);
        QFile::remove(sim.deviceFolder(1) + QStringLiteral("/ftp/data/.reboot"));
        const int connectionsBefore = muteClients.size();
        // Device 2's upload hangs on the mute service; device 1 is asked for meanwhile.
        requestReboot(1);
        QTRY_COMPARE_WITH_TIMEOUT(muteClients.size(), connectionsBefore + 1, 3000);
        requestReboot(0);
        QTRY_VERIFY_WITH_TIMEOUT(sim.requests(1).contains(QStringLiteral("FTP STOR /data/.reboot")), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!f.screen()->isRebootRunning(), 10000);
        QTest::qWait(300);
        QVERIFY(!f.popupShown());
        QCOMPARE(muteClients.size(), connectionsBefore + 1);
    }

    // The upload goes on after the operator has left the screen: its failure is logged, and
    // a request queued behind a running upload is carried out.
    void uploadOutlivesTheScreen()
    {
        mapFtpPorts(sim.ftpPort(1), mute.serverPort());
        sim.clearLog(1);
        QFile::remove(sim.deviceFolder(1) + QStringLiteral("/ftp/data/.reboot"));
        const int connectionsBefore = muteClients.size();
        requestReboot(1);
        QTRY_COMPARE_WITH_TIMEOUT(muteClients.size(), connectionsBefore + 1, 3000);
        requestReboot(0);
        f.host->transit(QStringLiteral("Home.qml"));
        QTRY_VERIFY_WITH_TIMEOUT(sim.requests(1).contains(QStringLiteral("FTP STOR /data/.reboot")), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!f.screen()->isRebootRunning(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!f.root.logMessages().filter(QStringLiteral("reboot upload to No.1 done")).isEmpty(),
                                 5000);

        f.open();
        const int from = f.root.logMessages().size();
        requestReboot(1);
        QTRY_COMPARE_WITH_TIMEOUT(muteClients.size(), connectionsBefore + 2, 3000);
        f.host->transit(QStringLiteral("Home.qml"));
        QTRY_VERIFY_WITH_TIMEOUT(!f.root.logMessages(from).filter(QStringLiteral("reboot upload to No.2 failed")).isEmpty(),
                                 10000);
    }
};

QTEST_MAIN(TestSystemReboot)
#include "tst_systemreboot.moc"
