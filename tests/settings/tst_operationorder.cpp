// ctest-label: settings
// Operations of the device setting screen made to overlap on purpose, in the real main
// window against simulated level checkers: the bound of an earlier readout falls due while
// an apply waits for a device, an apply comes while a device reads its identity slowly, a
// connection test answers while an apply runs, and an imported list ends in an empty row.
// Each runs one after the other: no end of a readout inside an apply, no device given up,
// no verdict over the progress pop-up, no identity lost.

#include "settings/DeviceSettingPage.h"
#include "monitor/LevelChecker.h"
#include "support/SimDevices.h"

#include <QElapsedTimer>
#include <QtTest>

#include <memory>

namespace {

const QByteArray Header = QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
                                         "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)\n")
                              .toUtf8();
const QByteArray PlanHeader = "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n";
const QString Unknown = QStringLiteral("---");
// Well below the 10 s for which a wait gives a device up.
constexpr qint64 PromptMs = 6000;

QByteArray line(int no, const QString &name, const QString &address, int state)
{
    return QStringLiteral("%1,%2,%3,同軸,連続,常時,常時,1550,SN%1,MAC%1,FW%1,%4,MER,MER\n")
        .arg(no)
        .arg(name, address)
        .arg(state)
        .toUtf8();
}

} // namespace

class TestOperationOrder : public QObject, DeviceSettingPage
{
    Q_OBJECT

private:
    // The main window on a root with these registered devices, each with a one-channel plan.
    void open(const QByteArray &registration, int plans)
    {
        QVERIFY(makeRoot(registration));
        for (int n = 1; n <= plans; ++n)
            QVERIFY(root->writeSetting(QStringLiteral("MeasurementChannelSetting/%1.csv").arg(n),
                                       PlanHeader + "0,13,473143,0,0,0,1\n"));
        QVERIFY(start());
        QVERIFY(openScreen());
    }

private slots:
    void initTestCase() { QmlMessageGuard::install(); }

    void cleanup()
    {
        close();
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
    }

    // An earlier readout's bound falls due while the next apply waits for a slow device to
    // stop: the earlier readout's end must not restart that device with its old settings
    // and write the registration in the middle of the apply, which would then give the
    // device up as one that could not be stopped.
    void readoutBoundDueInsideApply()
    {
        SimDevices sim;
        QVERIFY2(sim.start(1), qPrintable(sim.lastError()));
        open(Header + line(1, QStringLiteral("一号"), sim.address(1), 0), 1);
        LevelChecker *device = devices()->device(0);
        QTRY_VERIFY_WITH_TIMEOUT(device->pollingLoopActive() == 1, 20000);
        // The stop selection and every request take their time.
        QVERIFY(sim.setFault(1, SimDevices::Fault::Slow, 800));
        DeviceSettingViewModel *screen = vm();
        screen->setReadoutBoundMs(700);

        // A device without address keeps the first readout open until its bound.
        edit("addempty", QString(), 1);
        edit("nameinputrow", QStringLiteral("予備"), 1);
        QVERIFY(screen->applySettings(false));
        QCOMPARE(screen->currentInformationPending(), (QList<bool> {false, true}));
        QVERIFY(screen->isReadoutRunning());

        QVERIFY(QFile::remove(root->registrationPath()));
        edit("nameinputrow", QStringLiteral("一号改"), 0);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(screen->applySettings(false));
        const qint64 applyMs = clock.elapsed();
        QVERIFY2(applyMs < PromptMs, qPrintable(QString::number(applyMs)));
        QCOMPARE(screen->skippedDevices(), QList<int>());
        QVERIFY(!QFile::exists(root->registrationPath()));
        QCOMPARE(device->requestMode(), 1);
        QCOMPARE(device->name(), QStringLiteral("一号改"));
        QVERIFY(screen->isReadoutRunning());

        QTRY_VERIFY_WITH_TIMEOUT(!screen->isReadoutRunning(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(root->registrationPath()), 5000);
        QVERIFY(registrationBytes().contains(QStringLiteral("1,一号改,").toUtf8()));
        QCOMPARE(device->requestMode(), 0);
        QVERIFY(device->isMonitoring());
        QVERIFY(sim.setFault(1, SimDevices::Fault::None));
    }

    // An apply that changes a device while it reads its identity slowly: the stop reaches
    // the identity pass, so the apply neither waits its full bound nor gives the device up,
    // and the device takes its new name, reads its identity and measures again.
    void applyDuringIdentityPass()
    {
        SimDevices sim;
        QVERIFY2(sim.start(1), qPrintable(sim.lastError()));
        open(Header + line(1, QStringLiteral("一号"), sim.address(1), 0), 1);
        LevelChecker *device = devices()->device(0);
        QTRY_VERIFY_WITH_TIMEOUT(device->pollingLoopActive() == 1, 20000);
        DeviceSettingViewModel *screen = vm();

        QVERIFY(screen->applySettings(true));
        QCOMPARE(device->requestMode(), 1);
        QVERIFY(sim.setFault(1, SimDevices::Fault::Slow, 700));
        QVERIFY(sim.clearLog(1));
        QTRY_VERIFY_WITH_TIMEOUT(sim.requests(1).contains(QStringLiteral("GET 1.2")), 10000);
        QVERIFY(screen->isReadoutRunning());

        edit("nameinputrow", QStringLiteral("一号改"), 0);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(screen->applySettings(false));
        const qint64 applyMs = clock.elapsed();
        QVERIFY2(applyMs < PromptMs, qPrintable(QString::number(applyMs)));
        QCOMPARE(screen->skippedDevices(), QList<int>());
        QCOMPARE(device->name(), QStringLiteral("一号改"));
        QCOMPARE(device->requestMode(), 1);
        QCOMPARE(screen->currentInformationPending(), (QList<bool> {true}));

        QTRY_VERIFY_WITH_TIMEOUT(!screen->isReadoutRunning(), 30000);
        QCOMPARE(device->requestMode(), 0);
        QVERIFY(device->isMonitoring());
        QVERIFY(device->serialNumber() != Unknown);
        QVERIFY(registrationBytes().contains(QStringLiteral("1,一号改,").toUtf8()));
        QVERIFY(sim.setFault(1, SimDevices::Fault::None));
    }

    // A connection test that answers while an apply runs: its verdict would replace the
    // progress pop-up, which the operator cannot close, with one he can. It waits until the
    // readout has ended.
    void connectionTestAnsweredDuringApply()
    {
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("127.0.0.1"), 1), 0);
        DeviceSettingViewModel *screen = vm();
        screen->setReadoutBoundMs(1500);
        QObject *page = host->find(QStringLiteral("DeviceSetting"));
        bool applyReturned = false;
        QList<int> verdicts;
        QList<bool> shownFreely;
        connect(screen, &DeviceSettingViewModel::openPopup, this, [&](const QVariant &popup) {
            const int number = popup.toInt();
            if (number != 1 && number != 2)
                return;
            verdicts.append(number);
            shownFreely.append(applyReturned && !screen->isReadoutRunning()
                               && page->property("settingok").toBool());
        });
        // A device without address keeps the readout open until its bound.
        edit("addempty", QString(), 1);
        edit("nameinputrow", QStringLiteral("予備"), 1);

        edit("connecttest", QString(), 0);
        QVERIFY(screen->applySettings(false));
        applyReturned = true;
        QTRY_VERIFY_WITH_TIMEOUT(!screen->isReadoutRunning(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(verdicts, (QList<int> {1}), 5000);
        QCOMPARE(shownFreely, (QList<bool> {true}));
    }

    // An imported list whose last row is empty: the apply removes that row's device again
    // without waiting for it, and the identities the other devices send meanwhile are kept.
    void importEndingInEmptyRow()
    {
        SimDevices sim;
        QVERIFY2(sim.start(2), qPrintable(sim.lastError()));
        open(Header + line(1, QStringLiteral("旧"), QStringLiteral("0.0.0.0"), 1), 0);
        DeviceSettingViewModel *screen = vm();
        screen->setReadoutBoundMs(12000);
        QVector<DeviceEditRecord> imported;
        for (int n = 1; n <= 2; ++n) {
            DeviceEditRecord record = DeviceEditRecord::blank(n);
            record.name = QStringLiteral("局%1").arg(n);
            record.ipAddress = sim.host(n);
            record.port = sim.port(n);
            imported.append(record);
        }
        imported.append(DeviceEditRecord::blank(3));
        screen->setImportedRecords(imported);

        QElapsedTimer clock;
        clock.start();
        QVERIFY(screen->applySettings(false));
        const qint64 applyMs = clock.elapsed();
        QVERIFY2(applyMs < 3000, qPrintable(QString::number(applyMs)));
        QCOMPARE(devices()->deviceCount(), 2);
        QCOMPARE(screen->currentInformationPending(), (QList<bool> {true, true}));

        QTRY_VERIFY_WITH_TIMEOUT(!screen->isReadoutRunning(), 20000);
        // Ended by the replies, not by the bound.
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
        for (int i = 0; i < 2; ++i) {
            LevelChecker *device = devices()->device(i);
            QVERIFY2(device->serialNumber() != Unknown, qPrintable(device->name()));
            QVERIFY(device->macAddress() != Unknown);
            QCOMPARE(device->requestMode(), 0);
        }
        QVERIFY(registrationBytes().contains(QStringLiteral("2,局2,127.0.0.1:%1,").arg(sim.port(2)).toUtf8()));
    }
};

QTEST_MAIN(TestOperationOrder)
#include "tst_operationorder.moc"
