// ctest-label: settings
// Identity replies that belong to a readout an apply has superseded, against simulated level
// checkers whose replies are slowed: an apply that moves a device to a silent address while
// the first readout still runs, a Timeout of the first readout that comes after the apply,
// two applies within one readout, and an apply begun while other work waits for its turn.
// A superseded reply never ends, fills or stops anything of the readout that follows.

#include "core/OperationGate.h"
#include "monitor/ApplicationModel.h"
#include "monitor/LevelChecker.h"
#include "settings/DeviceSettingPage.h"
#include "support/SimDevices.h"

#include <QDateTime>
#include <QtTest>

namespace {

const QByteArray Header = QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
                                         "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)\n")
                              .toUtf8();
const QByteArray PlanHeader = "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n";
const QString Unknown = QStringLiteral("---");
// The request of the identity pass's last object, lcOptionID, whose reply ends a device's pass.
const QString LastIdentityRequest = QStringLiteral("GET 1.4.6");
// Nothing answers here: every request of a pass ends in a Timeout.
const QString SilentAddress = QStringLiteral("127.  0.  0.  2");

QByteArray line(int no, const QString &name, const QString &address, int state)
{
    return QStringLiteral("%1,%2,%3,同軸,連続,常時,常時,1550,SN%1,MAC%1,FW%1,%4,MER,MER\n")
        .arg(no)
        .arg(name, address)
        .arg(state)
        .toUtf8();
}

} // namespace

class TestReadoutReplies : public QObject, DeviceSettingPage
{
    Q_OBJECT

    // The main window on a root with the devices of sim, measuring, each with a one-channel
    // plan, opened on the device setting screen once every worker runs.
    void openMeasuring(const SimDevices &sim)
    {
        QByteArray registration = Header;
        for (int n = 1; n <= sim.count(); ++n)
            registration += line(n, QStringLiteral("機%1").arg(n), sim.address(n), 0);
        QVERIFY(makeRoot(registration));
        for (int n = 1; n <= sim.count(); ++n)
            QVERIFY(root->writeSetting(QStringLiteral("MeasurementChannelSetting/%1.csv").arg(n),
                                       PlanHeader + "0,13,473143,0,0,0,1\n"));
        QVERIFY(start());
        QVERIFY(openScreen());
        for (int i = 0; i < sim.count(); ++i)
            QTRY_VERIFY_WITH_TIMEOUT(devices()->device(i)->pollingLoopActive() == 1, 20000);
    }

    // The registration file's line of the device with that number.
    QString registrationLine(int no) const
    {
        const QStringList lines = QString::fromUtf8(registrationBytes()).split(QLatin1Char('\n'));
        for (const QString &text : lines) {
            if (text.startsWith(QStringLiteral("%1,").arg(no)))
                return text;
        }
        return QString();
    }

    // Reads every identity again with the page's button, and waits until device's pass has
    // asked for its last object: that reply is under way, slowed, while the next apply runs.
    void readAllUntilLastRequest(SimDevices &sim, int device)
    {
        QVERIFY(sim.clearLog(device));
        vm()->onButtonClicked(QStringLiteral("settingConfirmedAll"));
        QVERIFY(vm()->isReadoutRunning());
        QTRY_VERIFY_WITH_TIMEOUT(sim.requests(device).contains(LastIdentityRequest), 15000);
    }

private slots:
    void initTestCase() { QmlMessageGuard::install(); }

    void cleanup()
    {
        close();
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
    }

    // The operator corrects a device's address to one where nothing answers while the first
    // readout still reads it: the first readout's last reply, queued behind the apply, must
    // not end the apply's readout with the identity of the device at the old address.
    void applyToSilentAddressDuringSlowReadout()
    {
        SimDevices sim;
        QVERIFY2(sim.start(1), qPrintable(sim.lastError()));
        openMeasuring(sim);
        QVERIFY(sim.setFault(1, SimDevices::Fault::Slow, 300));
        readAllUntilLastRequest(sim, 1);

        edit("changeipaddress", SilentAddress, 0);
        vm()->onButtonClicked(QStringLiteral("settingConfirmed"));
        QCOMPARE(devices()->device(0)->ipAddressText(), QStringLiteral("127.0.0.2"));
        QTRY_VERIFY_WITH_TIMEOUT(!vm()->isReadoutRunning(), 30000);

        const QString written = registrationLine(1);
        QVERIFY2(written.contains(QStringLiteral("127.0.0.2:%1,").arg(sim.port(1))), qPrintable(written));
        QVERIFY2(written.contains(QStringLiteral(",---,---,---,")), qPrintable(written));
        QVERIFY2(!written.contains(QStringLiteral("VZ52")), qPrintable(written));
        QCOMPARE(devices()->device(0)->serialNumber(), Unknown);
    }

    // A request of the first readout that times out while the apply waits for the device:
    // its Timeout, handled after the apply, must not stop the device the apply restarted nor
    // take its identity; the device reads it and measures again.
    void supersededTimeoutLeavesRestartedDeviceMeasuring()
    {
        SimDevices sim;
        QVERIFY2(sim.start(1), qPrintable(sim.lastError()));
        openMeasuring(sim);
        // Longer than a request's 2 s wait for its reply: the pass's first request times out.
        QVERIFY(sim.setFault(1, SimDevices::Fault::Slow, 2500));
        QVERIFY(sim.clearLog(1));
        vm()->onButtonClicked(QStringLiteral("settingConfirmedAll"));
        QTRY_VERIFY_WITH_TIMEOUT(sim.requests(1).contains(QStringLiteral("GET 1.2")), 15000);
        QString request;
        for (const QString &logged : sim.requestLog(1)) {
            if (logged.endsWith(QStringLiteral(" GET 1.2")))
                request = logged;
        }
        const QDateTime sent = QDateTime::fromString(request.section(QLatin1Char(' '), 0, 0), Qt::ISODateWithMs);
        QVERIFY(sent.isValid());
        QVERIFY(sim.setFault(1, SimDevices::Fault::None));

        edit("nameinputrow", QStringLiteral("機1改"), 0);
        // Begun just before the request times out: the Timeout comes while the apply draws
        // its progress pop-up, before it stops the device.
        const qint64 early = QDateTime::currentDateTime().msecsTo(sent.addMSecs(1750));
        QVERIFY2(early > 0, qPrintable(QString::number(early)));
        QTest::qWait(int(early));
        vm()->onButtonClicked(QStringLiteral("settingConfirmed"));
        LevelChecker *device = devices()->device(0);
        QCOMPARE(device->name(), QStringLiteral("機1改"));
        QTRY_VERIFY_WITH_TIMEOUT(!vm()->isReadoutRunning(), 30000);

        QCOMPARE(device->serialNumber(), QStringLiteral("VZ52-00001"));
        QCOMPARE(device->requestMode(), 0);
        QVERIFY(device->isMonitoring());
        QCOMPARE(device->measurementState(), 0);
        QVERIFY2(registrationLine(1).contains(QStringLiteral("VZ52-00001")), qPrintable(registrationLine(1)));
    }

    // Two applies within one readout: the first moves device 1 to a silent address, the
    // second renames device 2 while device 1 still waits for its answers. The first
    // readout's replies count for neither; device 1's own pass still counts for the second
    // readout, which ends by the replies with each device's own identity.
    void twoAppliesWithinOneReadout()
    {
        SimDevices sim;
        QVERIFY2(sim.start(2), qPrintable(sim.lastError()));
        openMeasuring(sim);
        QVERIFY(sim.setFault(1, SimDevices::Fault::Slow, 300));
        QVERIFY(sim.setFault(2, SimDevices::Fault::Slow, 300));
        readAllUntilLastRequest(sim, 1);

        edit("changeipaddress", SilentAddress, 0);
        vm()->onButtonClicked(QStringLiteral("settingConfirmed"));
        QVERIFY(vm()->isReadoutRunning());
        edit("nameinputrow", QStringLiteral("機2改"), 1);
        vm()->onButtonClicked(QStringLiteral("settingConfirmed"));
        QVERIFY(vm()->isReadoutRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!vm()->isReadoutRunning(), 30000);

        const QString first = registrationLine(1);
        QVERIFY2(first.contains(QStringLiteral("127.0.0.2:%1,").arg(sim.port(1))), qPrintable(first));
        QVERIFY2(first.contains(QStringLiteral(",---,---,---,")), qPrintable(first));
        const QString second = registrationLine(2);
        QVERIFY2(second.startsWith(QStringLiteral("2,機2改,")), qPrintable(second));
        QVERIFY2(second.contains(QStringLiteral("VZ52-00002")), qPrintable(second));
        for (int i = 0; i < 2; ++i)
            QCOMPARE(devices()->device(i)->requestMode(), 0);
    }

    // The operator reads every identity with 機種情報確認 and five devices do not answer:
    // the end names them, by number and name, beside the success text, in a message that
    // stays inside the window; the one that answered is not named.
    void readoutNamesTheDevicesItCouldNotRead()
    {
        SimDevices sim;
        QVERIFY2(sim.start(1), qPrintable(sim.lastError()));
        QByteArray rows = Header + line(1, QStringLiteral("機1"), sim.address(1), 1);
        QStringList unread;
        for (int no = 2; no <= 6; ++no) {
            // The longest name the row takes.
            const QString name = QStringLiteral("無応答無応答%1号").arg(no);
            rows += line(no, name, QStringLiteral("127.0.0.1:9"), 1);
            unread << QStringLiteral("機器No.%1(%2)").arg(no).arg(name);
        }
        QVERIFY(makeRoot(rows));
        QVERIFY(start());
        QVERIFY(openScreen());
        vm()->setReadoutBoundMs(8000);
        clickNamed("deviceInformationButton");
        clickNamed("messageYes");
        QTRY_VERIFY(vm()->isReadoutRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!vm()->isReadoutRunning(), 20000);
        QQuickItem *shown = nullptr;
        QTRY_VERIFY((shown = host->visibleItem(QStringLiteral("messageText"))));
        QTRY_COMPARE(shown->property("text").toString(),
                     QStringLiteral("更新しました。\n%1 の機器情報を取得できませんでした。").arg(unread.join(QStringLiteral("、"))));
        // Wrapped inside the page, not cut off at the window's edge.
        const QRectF message = shown->mapRectToItem(page(), QRectF(0, 0, shown->width(), shown->height()));
        QVERIFY2(message.left() >= 0 && message.right() <= page()->width(),
                 qPrintable(QStringLiteral("message from %1 to %2 in a page %3 wide").arg(message.left()).arg(message.right()).arg(page()->width())));
        QVERIFY(page()->property("settingok").toBool());
        QCOMPARE(devices()->device(0)->serialNumber(), QStringLiteral("VZ52-00001"));
    }

    // An apply begun when no operation runs but work still waits for its turn (handed over
    // by an operation that has just ended) runs after that work, not ahead of it.
    void applyWhileWorkQueuedRunsAfterIt()
    {
        QVERIFY(makeRoot(Header + line(1, QStringLiteral("機1"), QStringLiteral("127.0.0.1:9"), 1)));
        QVERIFY(start());
        QVERIFY(openScreen());
        vm()->setReadoutBoundMs(300);
        OperationGate *gate = host->app->operationGate();
        QStringList seen;
        {
            OperationGate::Scope busy(gate, "earlier operation");
            gate->runOrQueue(vm(), "queued work", [&] { seen.append(devices()->device(0)->name()); });
        }
        QVERIFY(!gate->isBusy());
        QCOMPARE(gate->queuedCount(), 1);

        edit("nameinputrow", QStringLiteral("改名"), 0);
        vm()->onButtonClicked(QStringLiteral("settingConfirmed"));
        QTRY_COMPARE(devices()->device(0)->name(), QStringLiteral("改名"));
        QCOMPARE(seen, QStringList {QStringLiteral("機1")});
        QTRY_VERIFY_WITH_TIMEOUT(!vm()->isReadoutRunning(), 10000);
    }
};

QTEST_MAIN(TestReadoutReplies)
#include "tst_readoutreplies.moc"
