// ctest-label: settings
// The device setting screen in the real main window: the table built from the registered
// devices, row, ticked and bulk edits with their work-history lines, the refusals of an
// apply, an apply against simulated level checkers with its identity readout, the readout's
// end by replies and by its bound, the registration file, the discard question and the
// page's contract.

#include "core/InformationListModel.h"
#include "monitor/LevelChecker.h"
#include "settings/DeviceSettingPage.h"
#include "storage/AlertSettingFile.h"
#include "storage/ChannelSettingFile.h"
#include "support/SilentLoopback.h"
#include "support/SimDevices.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

#include <QElapsedTimer>
#include <QQuickItem>
#include <QTextCodec>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

const QByteArray Header = QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
                                         "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)\n")
                              .toUtf8();
const QByteArray PlanHeader = "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n";
const QString Mask = QStringLiteral("   .   .   .   ");
constexpr int Patience = 40000;

QByteArray line(int no, const QString &name, const QString &address, int state = 1,
                const QString &start = QStringLiteral("常時"), const QString &end = QStringLiteral("常時"))
{
    return QStringLiteral("%1,%2,%3,同軸,連続,%4,%5,1550,SN%1,MAC%1,FW%1,%6,MER,MER\n")
        .arg(no)
        .arg(name, address, start, end)
        .arg(state)
        .toUtf8();
}

} // namespace

class TestDeviceSetting : public QObject, DeviceSettingPage
{
    Q_OBJECT

private:
    void open(const QByteArray &registration, bool boot = false)
    {
        QVERIFY(makeRoot(registration));
        QVERIFY(start());
        if (boot)
            QVERIFY(host->waitForBoot());
    }

    InformationListModel *identities() const
    {
        return qobject_cast<InformationListModel *>(host->find(QStringLiteral("informationListModel")));
    }

    // The work history's lines from line `from` on, without their time stamps, as bytes.
    QList<QByteArray> workLines(int from = 0) const
    {
        const QByteArray bytes = root->readFile(root->workLogPath());
        QList<QByteArray> lines = bytes.split('\n');
        lines.removeLast(); // after the last line end
        QList<QByteArray> result;
        for (int i = from; i < lines.size(); ++i)
            result.append(lines.at(i).mid(19));
        return result;
    }
    int workLineCount() const { return root->readFile(root->workLogPath()).count('\n'); }

    static QByteArray sjis(const QString &text)
    {
        return QTextCodec::codecForName("Shift-JIS")->fromUnicode(text);
    }

    // Items made by a repeater have no object parent: search the visual tree.
    static QQuickItem *itemNamed(QQuickItem *from, const QString &name)
    {
        if (!from)
            return nullptr;
        if (from->objectName() == name)
            return from;
        for (QQuickItem *child : from->childItems()) {
            if (QQuickItem *found = itemNamed(child, name))
                return found;
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        const QString missing = TestPaths::missingPrograms({QStringLiteral("ping")});
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QmlMessageGuard::install();
    }

    void cleanup() { close(); }

    // The table, the records and the identity list start from the registered devices.
    void construction_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("none") << 0;
        QTest::newRow("49") << 49;
        QTest::newRow("50") << 50;
    }

    void construction()
    {
        QFETCH(int, count);
        QByteArray registration = Header;
        for (int n = 1; n <= count; ++n) {
            registration += n == 1 ? line(n, QStringLiteral("一号"), QStringLiteral("0.0.0.0"), 1, QStringLiteral("08:00"),
                                          QStringLiteral("17:00"))
                                   : line(n, QStringLiteral("機%1").arg(n), QStringLiteral("10.0.%1.1").arg(n));
        }
        open(registration);
        QCOMPARE(devices()->deviceCount(), count);
        DeviceSettingViewModel *screen = vm();
        QVERIFY(screen);

        QCOMPARE(screen->currentEditRecords().size(), count + 1);
        QCOMPARE(screen->currentSavedRecords().size(), count + 1);
        const DeviceEditRecord blank = screen->currentEditRecords().last();
        QCOMPARE(blank.deviceNo, QString::number(count + 1));
        QCOMPARE(blank.ipAddress, Mask);
        QCOMPARE(blank.wavelength, QStringLiteral("3"));
        QCOMPARE(screen->currentMerCnModes().size(), count + 1);

        QCOMPARE(table()->rowCount(), qMin(count + 1, 50));
        if (count < 50) {
            const int last = table()->rowCount() - 1;
            QCOMPARE(cell(last, DeviceSettingModel::DevicenoRole), QString::number(count + 1));
            QCOMPARE(cell(last, DeviceSettingModel::IpaddressRole), Mask);
            QCOMPARE(cell(last, DeviceSettingModel::InputtypeRole), QStringLiteral("同軸"));
            QCOMPARE(cell(last, DeviceSettingModel::SettingfileRole), QStringLiteral("未設定"));
            QCOMPARE(cell(last, DeviceSettingModel::ValidtimeRole), QStringLiteral("常時"));
            QCOMPARE(cell(last, DeviceSettingModel::CycleIntervalRole), QStringLiteral("連続"));
            QCOMPARE(cell(last, DeviceSettingModel::HikariWaveLengthRole), QStringLiteral("1550"));
        } else {
            QCOMPARE(cell(49, DeviceSettingModel::DevicenameRole), QStringLiteral("機50"));
        }
        QCOMPARE(identities()->rowCount(), count);
        if (count > 0) {
            QCOMPARE(screen->currentEditRecords().first().ipAddress, Mask);
            QCOMPARE(cell(0, DeviceSettingModel::IpaddressRole), Mask);
            QCOMPARE(identities()->data(identities()->index(0), InformationListModel::InfoipaddressRole).toString(), Mask);
            QCOMPARE(cell(0, DeviceSettingModel::ValidtimeRole), QStringLiteral("08:00～17:00"));
            QCOMPARE(identities()->data(identities()->index(1), InformationListModel::InfoserialnumberRole).toString(),
                     QStringLiteral("SN2"));
        }
    }

    // Row, ticked and all-row edits change the record and the table and write one line per
    // changed row; refusals write nothing.
    void rowEdits()
    {
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("10.0.0.1"))
             + line(2, QStringLiteral("二号"), QStringLiteral("10.0.0.2")));
        DeviceSettingViewModel *screen = vm();
        QSignalSpy popups(screen, &DeviceSettingViewModel::openPopup);
        const int from = workLineCount();

        edit("nameinputrow", QStringLiteral("新名称"), 0);
        edit("nameinputrow", QStringLiteral("新名称"), 0);   // unchanged: nothing
        edit("nameinputrow", QStringLiteral("a,b"), 1);     // refused
        edit("changeipaddress", QStringLiteral("192.168.  1. 20"), 1);
        edit("changeipaddress", QStringLiteral("  0.  1.  2.  3"), 0);
        QCOMPARE(popups.size(), 1);
        QCOMPARE(popups.last().at(0).toInt(), 8);
        QVERIFY(screen->hasIpAddressError());
        edit("changeipaddress", QStringLiteral("  1.256.  2.300"), 0);
        QCOMPARE(popups.size(), 3);
        QCOMPARE(popups.at(1).at(0).toInt(), 9);
        QCOMPARE(popups.at(2).at(0).toInt(), 9);
        edit("combooptcoax", QStringLiteral("光"), 0);
        edit("comhikariwavelength", QStringLiteral("1310nm"), 1);
        edit("comboCycleInterval", QStringLiteral("15分"), 0);
        screen->onTimeChangeButtonClicked(QStringLiteral("validtimerowchange"), QStringLiteral("8:05"),
                                          QStringLiteral("17:30"), 1);
        edit("checkBoxRow", QStringLiteral("true"), 1);
        edit("checkChangeOptCoax", QStringLiteral("光"), 0);
        edit("allChangeCycleInterval", QStringLiteral("60分"), 0);
        screen->onTimeChangeButtonClicked(QStringLiteral("validtimecheckchange"), QStringLiteral("常時"),
                                          QStringLiteral("23:59"), 0);
        edit("unknownbutton", QStringLiteral("x"), 0);

        const QVector<DeviceEditRecord> records = screen->currentEditRecords();
        QCOMPARE(records.at(0).name, QStringLiteral("新名称"));
        QCOMPARE(records.at(1).name, QStringLiteral("二号"));
        QCOMPARE(cell(1, DeviceSettingModel::DevicenameRole), QStringLiteral("二号"));
        QCOMPARE(records.at(0).ipAddress, QStringLiteral("1.256.2.300"));
        QCOMPARE(records.at(1).ipAddress, QStringLiteral("192.168.1.20"));
        QCOMPARE(cell(1, DeviceSettingModel::IpaddressRole), QStringLiteral("192.168.1.20"));
        QCOMPARE(records.at(0).inputType, QStringLiteral("1"));
        QCOMPARE(records.at(1).inputType, QStringLiteral("1"));
        QCOMPARE(records.at(2).inputType, QStringLiteral("0"));
        QCOMPARE(cell(1, DeviceSettingModel::HikariWaveLengthRole), QStringLiteral("1310"));
        QCOMPARE(records.at(1).wavelength, QStringLiteral("1"));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(records.at(i).cycleInterval, QStringLiteral("4"));
            QCOMPARE(cell(i, DeviceSettingModel::CycleIntervalRole), QStringLiteral("60分"));
        }
        QCOMPARE(records.at(1).startTime, QStringLiteral("常時"));
        QCOMPARE(records.at(1).endTime, QStringLiteral("常時"));
        QCOMPARE(cell(1, DeviceSettingModel::ValidtimeRole), QStringLiteral("常時"));

        const QStringList expected {
            QStringLiteral(",機器No.1,名称を変更"),
            QStringLiteral(",機器No.2,IPアドレスを変更"),
            QStringLiteral(",機器No.1,IPアドレスを変更"),
            QStringLiteral(",機器No.1,IPアドレスを変更"),
            QStringLiteral(",機器No.1,同軸/光を変更"),
            QStringLiteral(",機器No.2,光波長を変更"),
            QStringLiteral(",機器No.1,サイクル間隔を変更"),
            QStringLiteral(",機器No.2,アラート有効時間を変更"),
            QStringLiteral(",機器No.2,同軸/光を変更"),
            QStringLiteral(",機器No.1,サイクル間隔を変更"),
            QStringLiteral(",機器No.2,サイクル間隔を変更"),
            QStringLiteral(",機器No.3,サイクル間隔を変更"),
            QStringLiteral(",機器No.2,アラート有効時間を変更"),
        };
        const QList<QByteArray> lines = workLines(from);
        QCOMPARE(lines.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(lines.at(i), sjis(expected.at(i)) + '\r');

        // Typing into the blank row adds the next blank row and gives the typed row the mask.
        edit("changeipaddress", Mask, 2);
        QCOMPARE(screen->currentEditRecords().at(2).ipAddress, QString());
        edit("addempty", QString(), 2);
        QCOMPARE(screen->currentEditRecords().size(), 4);
        QCOMPARE(screen->currentEditRecords().at(2).ipAddress, Mask);
        QCOMPARE(table()->rowCount(), 4);
        QCOMPARE(cell(3, DeviceSettingModel::DevicenoRole), QStringLiteral("4"));
        edit("addempty", QString(), 0);
        QCOMPARE(screen->currentEditRecords().size(), 4);
    }

    // A refused apply changes no device, record or file.
    void refusals_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("newRow");
        QTest::addColumn<int>("popup");
        QTest::newRow("first octet 0") << "0.1.2.3" << false << 8;
        QTest::newRow("first octet 224") << "224.0.0.1" << false << 8;
        QTest::newRow("later octet") << "1.2.3.256" << false << 9;
        QTest::newRow("cleared") << "" << false << 8;
        QTest::newRow("duplicate") << "10.0.0.1" << false << 4;
        QTest::newRow("duplicate of a new row") << "10.0.0.2" << true << 4;
    }

    void refusals()
    {
        QFETCH(QString, address);
        QFETCH(bool, newRow);
        QFETCH(int, popup);
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("10.0.0.1"))
             + line(2, QStringLiteral("二号"), QStringLiteral("10.0.0.2")));
        QVERIFY(root->writeSetting(QStringLiteral("MeasurementChannelSetting/2_new.csv"), PlanHeader + "0,13,473143,0,0,0,1\n"));
        const QByteArray fileBefore = registrationBytes();
        DeviceSettingViewModel *screen = vm();
        const QVector<DeviceEditRecord> savedBefore = screen->currentSavedRecords();
        if (newRow) {
            edit("addempty", QString(), 2);
            edit("nameinputrow", QStringLiteral("三号"), 2);
            edit("changeipaddress", address, 2);
        } else {
            edit("nameinputrow", QStringLiteral("二号改"), 1);
            edit("changeipaddress", address, 1);
        }
        QSignalSpy popups(screen, &DeviceSettingViewModel::openPopup);
        QSignalSpy rebuilt(screen, &DeviceSettingViewModel::measurementChannelReloading);
        QVERIFY(!screen->applySettings(false));

        QCOMPARE(popups.size(), 1);
        QCOMPARE(popups.first().at(0).toInt(), popup);
        QCOMPARE(rebuilt.size(), 0);
        QCOMPARE(devices()->deviceCount(), 2);
        QCOMPARE(devices()->device(1)->name(), QStringLiteral("二号"));
        QCOMPARE(devices()->device(1)->ipAddress(), QStringLiteral("10.0.0.2"));
        QCOMPARE(screen->currentSavedRecords().size(), savedBefore.size());
        QCOMPARE(screen->currentSavedRecords().at(1).name, QStringLiteral("二号"));
        QCOMPARE(screen->hasIpAddressError(), popup != 4);
        QVERIFY(!screen->isReadoutRunning());
        QCOMPARE(registrationBytes(), fileBefore);
        QVERIFY(ChannelSettingFile::exists(2, ChannelSettingFile::Copy::Pending));
        QVERIFY(!ChannelSettingFile::exists(2, ChannelSettingFile::Copy::Committed));
        // The edits stay for correction.
        QCOMPARE(screen->currentEditRecords().size(), newRow ? 4 : 3);
    }

    // Through the main window against simulated devices: the home button opens the screen,
    // an edit and an added row are applied, the changed and the new device read their
    // identity while the unchanged one keeps measuring, and the end of the readout writes
    // the registration file and the identity list.
    void applyAgainstDevices()
    {
        SimDevices sim;
        QVERIFY2(sim.start(2), qPrintable(sim.lastError()));
        QByteArray registration = Header;
        registration += line(1, QStringLiteral("一号"), sim.address(1), 0);
        registration += line(2, QStringLiteral("二号"), sim.address(2), 0);
        QVERIFY(makeRoot(registration));
        for (int n = 1; n <= 2; ++n)
            QVERIFY(root->writeSetting(QStringLiteral("MeasurementChannelSetting/%1.csv").arg(n),
                                       PlanHeader + "0,13,473143,0,0,0,1\n"));
        QVERIFY(start());
        QVERIFY(host->waitForBoot());
        QVERIFY(devices()->device(1)->isMonitoring());

        auto *menu = itemNamed(qobject_cast<QQuickItem *>(host->find(QStringLiteral("Home"))),
                               QStringLiteral("homeMenu_DeviceSetting.qml"));
        QVERIFY(menu);
        QVERIFY(QTest::qWaitForWindowExposed(host->window) || QGuiApplication::platformName() == QLatin1String("offscreen"));
        const QPointF centre = menu->mapToScene(QPointF(menu->width() / 2, menu->height() / 2));
        QTest::mouseClick(host->window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
        QObject *page = host->find(QStringLiteral("DeviceSetting"));
        QTRY_VERIFY(page = host->find(QStringLiteral("DeviceSetting")));
        QCOMPARE(page->property("rowindex").toInt(), 3);
        QCOMPARE(cell(0, DeviceSettingModel::SettingfileRole), QStringLiteral("設定・確認"));
        QCOMPARE(cell(1, DeviceSettingModel::DevicenameRole), QStringLiteral("二号"));

        DeviceSettingViewModel *screen = vm();
        QStringList order;
        connect(screen, &DeviceSettingViewModel::makeOneMeasurementResultModel, this,
                [&order](int index) { order.append(QStringLiteral("one %1").arg(index)); });
        connect(screen, &DeviceSettingViewModel::measurementChannelReloading, this,
                [&order] { order.append(QStringLiteral("reload")); });
        connect(screen, &DeviceSettingViewModel::measurementResultModelClear, this,
                [&order] { order.append(QStringLiteral("clear")); });
        connect(screen, &DeviceSettingViewModel::makeMeasurementResultModel, this,
                [&order] { order.append(QStringLiteral("all")); });

        const auto send = [page](const char *button, const QString &value, int row) {
            QVERIFY(QMetaObject::invokeMethod(page, "rowbuttonclicked", Q_ARG(QString, QLatin1String(button)),
                                              Q_ARG(QString, value), Q_ARG(int, row)));
        };
        send("nameinputrow", QStringLiteral("一号改"), 0);
        send("addempty", QString(), 2);
        send("nameinputrow", QStringLiteral("三号"), 2);
        // Nothing answers on the standard port: the new device's readout ends by its failure.
        send("changeipaddress", QStringLiteral("127.  0.  0.  1"), 2);
        QCOMPARE(page->property("rowindex").toInt(), 4);
        QVERIFY(sim.clearLog(1));
        QVERIFY(sim.clearLog(2));

        QVERIFY(QMetaObject::invokeMethod(page, "buttonClicked", Q_ARG(QString, QStringLiteral("settingConfirmed"))));
        QCOMPARE(devices()->deviceCount(), 3);
        QCOMPARE(devices()->device(2)->name(), QStringLiteral("三号"));
        QCOMPARE(devices()->device(2)->deviceNo(), 3);
        QCOMPARE(devices()->device(0)->name(), QStringLiteral("一号改"));
        QCOMPARE(screen->currentInformationPending(), (QList<bool> {true, false, true}));
        QCOMPARE(devices()->device(0)->requestMode(), 1);
        QCOMPARE(devices()->device(1)->requestMode(), 0);
        QVERIFY(devices()->device(1)->isMonitoring());
        QCOMPARE(order, (QStringList {QStringLiteral("one 2"), QStringLiteral("reload")}));
        QCOMPARE(page->property("settingok").toBool(), false);
        QVERIFY(screen->isReadoutRunning());
        QCOMPARE(screen->currentSavedRecords().size(), 4);

        QTRY_VERIFY_WITH_TIMEOUT(!screen->isReadoutRunning(), Patience);
        QCOMPARE(page->property("settingok").toBool(), true);
        // The added device has no agent at its address: the end names it.
        QCOMPARE(page->property("settngtext").toString(),
                 QStringLiteral("設定完了\n機器No.3(三号) の機器情報を取得できませんでした。"));
        LevelChecker *changed = devices()->device(0);
        LevelChecker *added = devices()->device(2);
        QVERIFY(changed->serialNumber() != QLatin1String("---") && !changed->serialNumber().isEmpty());
        QVERIFY(!changed->macAddress().isEmpty() && changed->macAddress() != QLatin1String("---"));
        QCOMPARE(added->serialNumber(), QStringLiteral("---"));
        QCOMPARE(changed->requestMode(), 0);
        QVERIFY(changed->isMonitoring());
        QCOMPARE(added->measurementState(), 1);
        QVERIFY(!added->isMonitoring());
        QVERIFY(sim.requests(1).contains(QStringLiteral("GET 1.2")));
        QVERIFY(!sim.requests(2).contains(QStringLiteral("GET 1.2")));

        // The identity list and the registration file, byte for byte.
        QCOMPARE(identities()->rowCount(), 3);
        QCOMPARE(identities()->data(identities()->index(0), InformationListModel::InfoserialnumberRole).toString(),
                 changed->serialNumber());
        QCOMPARE(identities()->data(identities()->index(2), InformationListModel::InfoipaddressRole).toString(),
                 QStringLiteral("127.0.0.1"));
        QByteArray expected = Header;
        const QStringList names {QStringLiteral("一号改"), QStringLiteral("二号"), QStringLiteral("三号")};
        for (int i = 0; i < 3; ++i) {
            LevelChecker *device = devices()->device(i);
            expected += QStringLiteral("%1,%2,%3:%4,同軸,連続,常時,常時,1550,%5,%6,%7,1,MER,MER\n")
                            .arg(i + 1)
                            .arg(names.at(i), device->ipAddress())
                            .arg(device->port())
                            .arg(device->serialNumber(), device->macAddress(), device->firmwareVersion())
                            .toUtf8();
        }
        QCOMPARE(registrationBytes(), expected);
        QCOMPARE(workLines().last(), sjis(QStringLiteral(",,設定を適用")) + '\r');

        // An apply while a readout runs: the device still reading its identity is not
        // changed again, yet the end of the readout returns it to measurement.
        QVERIFY(sim.setFault(1, SimDevices::Fault::Slow, 3000));
        send("nameinputrow", QStringLiteral("一号再"), 0);
        QVERIFY(screen->applySettings(false));
        QCOMPARE(changed->requestMode(), 1);
        QVERIFY(screen->applySettings(false));
        QCOMPARE(screen->currentInformationPending().mid(0, 2), (QList<bool> {false, false}));
        QTRY_VERIFY_WITH_TIMEOUT(!screen->isReadoutRunning(), Patience);
        QCOMPARE(changed->requestMode(), 0);
        QVERIFY(changed->isMonitoring());
        QCOMPARE(changed->name(), QStringLiteral("一号再"));
        QVERIFY(sim.setFault(1, SimDevices::Fault::None));
        QCOMPARE(QmlMessageGuard::take(), QStringList());
    }

    // A device registered without address never answers: the readout ends by its bound.
    // Clearing that row's name at the end of the table then removes the device.
    void readoutBoundAndClearedRow()
    {
        open(QByteArray());
        DeviceSettingViewModel *screen = vm();
        screen->setReadoutBoundMs(1500);
        edit("addempty", QString(), 0);
        edit("nameinputrow", QStringLiteral("予備"), 0);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(screen->applySettings(false));
        QCOMPARE(devices()->deviceCount(), 1);
        QCOMPARE(screen->currentInformationPending(), (QList<bool> {true}));
        QVERIFY(!devices()->device(0)->isMonitoring());
        QTRY_VERIFY_WITH_TIMEOUT(!screen->isReadoutRunning(), 10000);
        QVERIFY(clock.elapsed() >= 1400);
        QCOMPARE(registrationBytes(),
                 Header + QStringLiteral("1,予備,0.0.0.0:161,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n").toUtf8());
        QCOMPARE(identities()->data(identities()->index(0), InformationListModel::InfoipaddressRole).toString(), Mask);

        edit("nameinputrow", QString(), 0);
        QVERIFY(screen->applySettings(false));
        QCOMPARE(devices()->deviceCount(), 0);
        QCOMPARE(screen->currentEditRecords().size(), 1);
        QCOMPARE(screen->currentSavedRecords().size(), 1);
        QCOMPARE(table()->rowCount(), 1);
        QCOMPARE(cell(0, DeviceSettingModel::IpaddressRole), Mask);
    }

    // Replies: identity texts, a failure that ends its device at once, and replies after the
    // end, which change nothing.
    void readoutByReplies()
    {
        open(QByteArray());
        DeviceSettingViewModel *screen = vm();
        for (int row = 0; row < 2; ++row) {
            edit("addempty", QString(), row);
            edit("nameinputrow", QStringLiteral("機%1").arg(row + 1), row);
        }
        QVERIFY(screen->applySettings(false));
        QCOMPARE(screen->currentInformationPending(), (QList<bool> {true, true}));
        screen->onInformationResponse(0, QStringLiteral("VEDIRUDO-ZER::lcSerialnum.0 = STRING: \\"));
        screen->onInformationResponse(0, QStringLiteral("VEDIRUDO-ZER::lcPhysAddress.0 = STRING: 00:11:22\n"));
        screen->onInformationResponse(0, QStringLiteral("VEDIRUDO-ZER::lcVersionPRODUCT.0 = STRING: 1.2\n"));
        screen->onInformationResponse(5, QStringLiteral("Timeout,200\n")); // no such device
        screen->onInformationResponse(0, QStringLiteral("VEDIRUDO-ZER::lcOptionID.0 = INTEGER: 1"));
        QVERIFY(screen->isReadoutRunning());
        LevelChecker *first = devices()->device(0);
        QCOMPARE(first->serialNumber(), QStringLiteral("NoSerial"));
        QCOMPARE(first->macAddress(), QStringLiteral("00:11:22\n"));
        QCOMPARE(first->firmwareVersion(), QStringLiteral("1.2"));
        screen->onInformationResponse(1, QStringLiteral("Error,200\n"));
        QVERIFY(!screen->isReadoutRunning());
        QCOMPARE(devices()->device(1)->serialNumber(), QStringLiteral("---"));
        QVERIFY(registrationBytes().contains("1,機1,0.0.0.0:161,同軸,連続,常時,常時,1550,NoSerial,00:11:22\n"));

        // A late reply neither ends the readout again nor rewrites the file.
        QVERIFY(QFile::remove(root->registrationPath()));
        screen->onInformationResponse(1, QStringLiteral("Timeout,200\n"));
        QVERIFY(!QFile::exists(root->registrationPath()));
    }

    // The apply promotes pending plans and thresholds, loads every device's plan with its
    // own CATV variants, moves stored results to their channel's new position and hands the
    // polling settings to the devices.
    void applyLoadsPlansAndSettings()
    {
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("0.0.0.0"))
             + line(2, QStringLiteral("二号"), QStringLiteral("0.0.0.0")));
        QVERIFY(root->writeSetting(QStringLiteral("MeasurementChannelSetting/1_new.csv"),
                                   PlanHeader + "5,C24,233000,3,0,0,1\n5,8,191000,3,0,0,0\n"));
        QVERIFY(root->writeSetting(QStringLiteral("MeasurementChannelSetting/2.csv"),
                                   PlanHeader + "5,C27,243000,3,0,0,1\n0,13,473143,0,0,1,1\n"));
        QVERIFY(root->writeSetting(QStringLiteral("AlertSetting/alert_2_new.csv"),
                                   "'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER\n0,13,<47.0,>81.0,<25.0,>2.0E-4\n"));
        QVERIFY(root->writeSetting(QStringLiteral("application_setting.ini"),
                                   "[PollingInterval]\nFirstRecv=500\nUhfRecv=4500\n[ChMonitoring]\nChMonitoring=2\n"));
        LevelChecker *second = devices()->device(1);
        // Device 2 measured channel 13 at position 1 before; its plan now has it at 1 too,
        // while a result of a channel no longer planned goes.
        ChannelResultRow kept;
        kept.bandTabIndex = BandTerrestrial;
        kept.channel = QStringLiteral("13");
        second->addMeasurementHistory(kept, 0);
        ChannelResultRow dropped;
        dropped.bandTabIndex = BandCatv;
        dropped.channel = QStringLiteral("C99");
        second->addMeasurementHistory(dropped, 1);

        DeviceSettingViewModel *screen = vm();
        screen->setReadoutBoundMs(500);
        QVERIFY(screen->applySettings(false));
        QVERIFY(!ChannelSettingFile::exists(1, ChannelSettingFile::Copy::Pending));
        QVERIFY(ChannelSettingFile::exists(1, ChannelSettingFile::Copy::Committed));
        QVERIFY(!AlertSettingFile::exists(2, AlertSettingFile::Copy::Pending));
        LevelChecker *first = devices()->device(0);
        QCOMPARE(first->channelSettingCount(), 1);
        QCOMPARE(first->c24FrequencyType(), 1);
        QCOMPARE(first->settingFileName(), QStringLiteral("1.csv"));
        QCOMPARE(second->c24FrequencyType(), 0);
        QCOMPARE(second->ch8FrequencyType(), 0);
        QCOMPARE(second->channelSettingCount(), 2);
        QCOMPARE(second->measurementHistoryCount(1), 1);
        QCOMPARE(second->measurementHistory(1, 0).channel, QStringLiteral("13"));
        QCOMPARE(second->measurementHistoryCount(0), 0);
        QCOMPARE(second->alertSettingCount(), 1);
        QCOMPARE(second->alertSetting(0).hikariLevelMin, QStringLiteral("-10.0"));
        QCOMPARE(cell(0, DeviceSettingModel::SettingfileRole), QStringLiteral("設定・確認"));
        QCOMPARE(first->applicationSetting().firstRecv, 1000);
        QCOMPARE(first->applicationSetting().uhfRecv, 4500);
        QCOMPARE(second->applicationSetting().chMonitoring, 1);
        // Device 1's pending plan made it take part in the readout; device 2 has its identity.
        QCOMPARE(screen->currentInformationPending(), (QList<bool> {true, false}));
        QTRY_VERIFY_WITH_TIMEOUT(!screen->isReadoutRunning(), 10000);
        QCOMPARE(first->serialNumber(), QStringLiteral("---"));
    }

    // After an import the apply registers every row afresh, numbered in table order, and
    // rebuilds the result list instead of reloading it.
    void applyImportedList()
    {
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("0.0.0.0"))
             + line(2, QStringLiteral("二号"), QStringLiteral("0.0.0.0")));
        DeviceSettingViewModel *screen = vm();
        screen->setReadoutBoundMs(500);
        QVector<DeviceEditRecord> imported;
        for (const QString &name : {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")}) {
            DeviceEditRecord record = DeviceEditRecord::blank(9);
            record.name = name;
            imported.append(record);
        }
        screen->setImportedRecords(imported);
        QVERIFY(screen->isImportPending());
        QCOMPARE(table()->rowCount(), 4);
        QStringList order;
        connect(screen, &DeviceSettingViewModel::measurementResultModelClear, this,
                [&order] { order.append(QStringLiteral("clear")); });
        connect(screen, &DeviceSettingViewModel::makeMeasurementResultModel, this,
                [&order] { order.append(QStringLiteral("all")); });
        connect(screen, &DeviceSettingViewModel::measurementChannelReloading, this,
                [&order] { order.append(QStringLiteral("reload")); });
        QVERIFY(screen->applySettings(false));
        QCOMPARE(order, (QStringList {QStringLiteral("clear"), QStringLiteral("all")}));
        QCOMPARE(devices()->deviceCount(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(devices()->device(i)->deviceNo(), i + 1);
            QCOMPARE(devices()->device(i)->name(), imported.at(i).name);
        }
        QVERIFY(!screen->isImportPending());
        QCOMPARE(screen->currentSavedRecords().size(), 4);
        QCOMPARE(screen->currentSavedRecords().last().ipAddress, Mask);
        QTRY_VERIFY_WITH_TIMEOUT(!screen->isReadoutRunning(), 10000);
        QVERIFY(registrationBytes().contains("3,丙,0.0.0.0:161,"));
    }

    // A registration file that cannot be replaced is reported, never "設定完了".
    void registrationWriteFailure()
    {
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("10.0.0.1")), true);
        host->transit(QStringLiteral("DeviceSetting.qml"));
        QObject *page = host->find(QStringLiteral("DeviceSetting"));
        QVERIFY(page);
        QVERIFY(QFile::remove(root->registrationPath()));
        QVERIFY(QDir().mkpath(root->registrationPath()));
        QVERIFY(!vm()->DeviceListFileWrite());
        QVERIFY(page->property("settingok").toBool());
        QCOMPARE(page->property("settngtext").toString(), QStringLiteral("DeviceRegistSetting.csvを保存できませんでした。"));
        QVERIFY(root->logMessages().contains(QStringLiteral("[DeviceSettingViewModel] DeviceRegistSetting.csv write ERROR")));
        QCOMPARE(identities()->rowCount(), 1);
        host->transit(QStringLiteral("Home.qml"));
    }

    // The home button asks before it discards pending edits, and only then.
    void discardQuestion_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<bool>("asks");
        QTest::newRow("nothing") << "" << false;
        QTest::newRow("wavelength only") << "wavelength" << false;
        QTest::newRow("new row only") << "newrow" << false;
        QTest::newRow("name") << "name" << true;
        QTest::newRow("address") << "address" << true;
        QTest::newRow("input type") << "input" << true;
        QTest::newRow("cycle") << "cycle" << true;
        QTest::newRow("valid time") << "time" << true;
        QTest::newRow("import") << "import" << true;
        QTest::newRow("working copy") << "1_sub.csv" << true;
        QTest::newRow("pending plan") << "1_new.csv" << true;
        QTest::newRow("pending thresholds") << "alert_1_new.csv" << true;
        QTest::newRow("mer/cn") << "mercn" << true;
    }

    void discardQuestion()
    {
        QFETCH(QString, trigger);
        QFETCH(bool, asks);
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("10.0.0.1"), 1, QStringLiteral("08:00"),
                           QStringLiteral("17:00")));
        DeviceSettingViewModel *screen = vm();
        if (trigger == QLatin1String("wavelength"))
            edit("comhikariwavelength", QStringLiteral("1300nm"), 0);
        else if (trigger == QLatin1String("newrow")) {
            edit("addempty", QString(), 1);
            edit("nameinputrow", QStringLiteral("新"), 1);
        } else if (trigger == QLatin1String("name"))
            edit("nameinputrow", QStringLiteral("改"), 0);
        else if (trigger == QLatin1String("address"))
            edit("changeipaddress", QStringLiteral("10.0.0.9"), 0);
        else if (trigger == QLatin1String("input"))
            edit("combooptcoax", QStringLiteral("光"), 0);
        else if (trigger == QLatin1String("cycle"))
            edit("comboCycleInterval", QStringLiteral("5分"), 0);
        else if (trigger == QLatin1String("time"))
            screen->onTimeChangeButtonClicked(QStringLiteral("validtimerowchange"), QStringLiteral("08:00"),
                                              QStringLiteral("18:00"), 0);
        else if (trigger == QLatin1String("import"))
            screen->setImportedRecords(screen->currentSavedRecords().mid(0, 1));
        else if (trigger == QLatin1String("mercn"))
            screen->onDataPassMerCnr(1, QStringLiteral("CNR"), QStringLiteral("MER"), true);
        else if (trigger.startsWith(QLatin1String("alert")))
            QVERIFY(root->writeSetting(QStringLiteral("AlertSetting/") + trigger, "x\n"));
        else if (!trigger.isEmpty())
            QVERIFY(root->writeSetting(QStringLiteral("MeasurementChannelSetting/") + trigger, "x\n"));

        QSignalSpy popups(screen, &DeviceSettingViewModel::openPopup);
        QSignalSpy home(screen, &DeviceSettingViewModel::changeHomeDialog);
        screen->checkChangeDialog();
        QCOMPARE(popups.size(), asks ? 1 : 0);
        if (asks)
            QCOMPARE(popups.first().at(0).toInt(), 5);
        QCOMPARE(home.size(), asks ? 0 : 1);
    }

    // The discard restores the applied table and removes every working and pending file,
    // also those of a row that was added and is discarded with it.
    void discard()
    {
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("10.0.0.1")));
        DeviceSettingViewModel *screen = vm();
        edit("nameinputrow", QStringLiteral("改"), 0);
        edit("addempty", QString(), 1);
        edit("nameinputrow", QStringLiteral("新"), 1);
        const QStringList files {QStringLiteral("MeasurementChannelSetting/1_sub.csv"),
                                 QStringLiteral("MeasurementChannelSetting/2_new.csv"),
                                 QStringLiteral("MeasurementChannelSetting/2_sub.csv"),
                                 QStringLiteral("AlertSetting/alert_2_new.csv")};
        for (const QString &file : files)
            QVERIFY(root->writeSetting(file, "x\n"));
        QVERIFY(root->writeSetting(QStringLiteral("MeasurementChannelSetting/1.csv"), PlanHeader));
        QSignalSpy home(screen, &DeviceSettingViewModel::changeHomeDialog);
        screen->onChangeDestroy();
        QCOMPARE(home.size(), 1);
        QCOMPARE(screen->currentEditRecords().size(), 2);
        QCOMPARE(screen->currentEditRecords().first().name, QStringLiteral("一号"));
        QCOMPARE(table()->rowCount(), 2);
        QCOMPARE(cell(0, DeviceSettingModel::DevicenameRole), QStringLiteral("一号"));
        for (const QString &file : files)
            QVERIFY2(!QFile::exists(root->settingsFolder() + QLatin1Char('/') + file), qPrintable(file));
        QVERIFY(QFile::exists(root->settingsFolder() + QStringLiteral("/MeasurementChannelSetting/1.csv")));
    }

    // The connection test of a row goes through the page: pop-up 3 while ping runs, then
    // the verdict; a row without an address starts nothing.
    void connectionTestFromPage_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("verdict");
        QTest::newRow("live, leading zeros") << 0 << QStringLiteral("127.000.000.001") << false << 1;
        // ping here takes 0.0.0.0 for the local host: that reply is not the row's.
        QTest::newRow("blank row") << 1 << QString() << false << 2;
        // Loopback where echo requests go unanswered.
        QTest::newRow("nothing answers") << 0 << QStringLiteral("127.000.000.001") << true << 2;
        // Typing the mask over an address clears it.
        QTest::newRow("cleared") << 0 << Mask << false << 7;
    }

    void connectionTestFromPage()
    {
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(bool, silent);
        QFETCH(int, verdict);
        std::unique_ptr<SilentLoopback> network;
        if (silent) {
            network.reset(new SilentLoopback);
            if (!network->isActive())
                QSKIP(qPrintable(QStringLiteral("no network of its own: ") + network->error()));
        }
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("10.0.0.1")), true);
        host->transit(QStringLiteral("DeviceSetting.qml"));
        QObject *page = host->find(QStringLiteral("DeviceSetting"));
        QVERIFY(page);
        DeviceSettingViewModel *screen = vm();
        if (!typed.isNull())
            edit("changeipaddress", typed, row);
        QSignalSpy popups(screen, &DeviceSettingViewModel::openPopup);
        QVERIFY(QMetaObject::invokeMethod(page, "rowbuttonclicked", Q_ARG(QString, QStringLiteral("connecttest")),
                                          Q_ARG(QString, QString()), Q_ARG(int, row)));
        auto *message = host->window->findChild<QObject *>(QStringLiteral("messageText"));
        QVERIFY(message);
        if (verdict == 7) {
            QCOMPARE(popups.size(), 1);
            QCOMPARE(popups.first().at(0).toInt(), 7);
            QCOMPARE(message->property("text").toString(), QStringLiteral("IPアドレスが入力されていません。"));
            QTest::qWait(200);
            QCOMPARE(popups.size(), 1);
            return;
        }
        // The window is not held while ping runs: the wait pop-up is up before its verdict.
        QCOMPARE(popups.size(), 1);
        QCOMPARE(popups.first().at(0).toInt(), 3);
        QCOMPARE(message->property("text").toString(), QStringLiteral("確認中です。\nしばらくお待ちください。"));
        // It has no OK until the verdict: a click on OK's place stays on it.
        QVERIFY(!host->visibleItem(QStringLiteral("messageOk")));
        auto *ok = host->window->findChild<QQuickItem *>(QStringLiteral("messageOk"));
        auto *messagePopup = page->findChild<QObject *>(QStringLiteral("messagePopup"));
        QVERIFY(ok && messagePopup);
        QTest::mouseClick(host->window, Qt::LeftButton, Qt::NoModifier,
                          ok->mapToScene(QPointF(ok->width() / 2, ok->height() / 2)).toPoint());
        QTRY_COMPARE_WITH_TIMEOUT(popups.size(), 2, 15000);
        QCOMPARE(popups.last().at(0).toInt(), verdict);
        QCOMPARE(message->property("text").toString(), verdict == 1 ? QStringLiteral("正常に接続されています。")
                                                                    : QStringLiteral("接続出来ませんでした。"));
        QVERIFY(messagePopup->property("opened").toBool());
        QVERIFY(host->click(QStringLiteral("messageOk")));
        QTRY_VERIFY(!messagePopup->property("visible").toBool());
        QCOMPARE(devices()->device(0)->ipAddressText(), QStringLiteral("10.0.0.1"));
        host->transit(QStringLiteral("Home.qml"));
    }

    // Export writes the registered devices (not the unapplied edits); importing that file
    // gives the same table, pending until the apply, which registers every device with the
    // port the file names.
    void exportThenImport()
    {
        const QByteArray registration =
            Header
            + QStringLiteral("1,一号,127.0.0.1:16105,同軸,連続,常時,常時,1550,SN1,MAC1,FW1,1,MER,MER\n"
                             "2,二号,127.0.0.1:16106,光,5分,08:00,17:30,1310,SN2,MAC2,FW2,1,MER,MER\n"
                             "3,三号,10.0.0.3:161,光,60分,常時,常時,1625,SN3,MAC3,FW3,1,MER,MER\n")
                  .toUtf8();
        open(registration, true);
        host->transit(QStringLiteral("DeviceSetting.qml"));
        QObject *page = host->find(QStringLiteral("DeviceSetting"));
        QVERIFY(page);
        DeviceSettingViewModel *screen = vm();
        screen->setReadoutBoundMs(500);
        auto cells = [this] {
            QStringList all;
            for (int row = 0; row < table()->rowCount(); ++row) {
                for (int role : {DeviceSettingModel::DevicenoRole, DeviceSettingModel::DevicenameRole,
                                 DeviceSettingModel::IpaddressRole, DeviceSettingModel::InputtypeRole,
                                 DeviceSettingModel::CycleIntervalRole, DeviceSettingModel::ValidtimeRole,
                                 DeviceSettingModel::HikariWaveLengthRole})
                    all.append(cell(row, role));
            }
            return all;
        };
        const QStringList before = cells();
        edit("nameinputrow", QStringLiteral("未適用"), 0);

        const QString path = root->path() + QStringLiteral("/export/機器一覧.csv");
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(QMetaObject::invokeMethod(page, "rowbuttonclicked", Q_ARG(QString, QStringLiteral("bulkexport")),
                                          Q_ARG(QString, QUrl::fromLocalFile(path).toString()), Q_ARG(int, 0)));
        QCOMPARE(root->readFile(path),
                 QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長\n"
                                "1,一号,127.0.0.1:16105,同軸,連続,常時,常時,1550\n"
                                "2,二号,127.0.0.1:16106,光,5分,08:00,17:30,1310\n"
                                "3,三号,10.0.0.3,光,60分,常時,常時,1625\n")
                     .toUtf8());

        const int from = workLineCount();
        QVERIFY(QMetaObject::invokeMethod(page, "rowbuttonclicked", Q_ARG(QString, QStringLiteral("bulkLoading")),
                                          Q_ARG(QString, QUrl::fromLocalFile(path).toString()), Q_ARG(int, 0)));
        QVERIFY(screen->isImportPending());
        QStringList expected = before;
        // Imported addresses carry no port in the table; the records keep it.
        expected.replace(2, QStringLiteral("127.0.0.1"));
        expected.replace(9, QStringLiteral("127.0.0.1"));
        QCOMPARE(cells(), expected);
        QCOMPARE(page->property("rowindex").toInt(), 4);
        QCOMPARE(workLines(from), (QList<QByteArray> {sjis(QStringLiteral(",機器No.1,追加")) + '\r',
                                                      sjis(QStringLiteral(",機器No.2,追加")) + '\r',
                                                      sjis(QStringLiteral(",機器No.3,追加")) + '\r'}));
        QCOMPARE(devices()->device(0)->name(), QStringLiteral("一号"));

        QVERIFY(screen->applySettings(false));
        QCOMPARE(devices()->deviceCount(), 3);
        QCOMPARE(devices()->device(0)->port(), 16105);
        QCOMPARE(devices()->device(1)->port(), 16106);
        QCOMPARE(devices()->device(1)->startTime(), QStringLiteral("08:00"));
        QCOMPARE(devices()->device(1)->wavelengthText(), QStringLiteral("1310"));
        QCOMPARE(devices()->device(2)->port(), 161);
        QTRY_VERIFY_WITH_TIMEOUT(!screen->isReadoutRunning(), 10000);
        QVERIFY(registrationBytes().contains("2,二号,127.0.0.1:16106,光,5分,08:00,17:30,1310,"));
        host->transit(QStringLiteral("Home.qml"));
    }

    // A long table is made a few rows at a time after the screen opens; an imported list
    // keeps the rows made, and each shows the list's device afresh: no tick, no name typed
    // before (a name whose "," the field removed included) stays from the table before.
    void tableRowsMadeInSlicesAndKept()
    {
        constexpr int Devices = 12;
        QByteArray registration = Header;
        QByteArray list = "No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長\n";
        for (int n = 1; n <= Devices; ++n) {
            registration += line(n, QStringLiteral("局%1").arg(n), QStringLiteral("10.0.0.%1").arg(n));
            list += QStringLiteral("%1,新%1,10.0.1.%1,光,5分,常時,常時,1310\n").arg(n).toUtf8();
        }
        open(registration, true);
        host->transit(QStringLiteral("DeviceSetting.qml"));
        QObject *page = host->find(QStringLiteral("DeviceSetting"));
        QVERIFY(page);
        auto *repeater = host->window->findChild<QObject *>(QStringLiteral("settingListRowsRepeater"));
        QVERIFY(repeater);
        QCOMPARE(repeater->property("count").toInt(), Devices + 1);
        // The first rows are there at once, the rest follow.
        QVERIFY(inRow(0, "nameField"));
        QVERIFY(!inRow(Devices - 1, "nameField"));
        QTRY_VERIFY(inRow(Devices, "nameField"));
        for (int row = 0; row < Devices; ++row)
            QCOMPARE(inRow(row, "nameField")->property("text").toString(), QStringLiteral("局%1").arg(row + 1));

        // A name typed with a ",", sent, and a ticked row.
        QQuickItem *name = inRow(1, "nameField");
        typeInto(name, "ab,c");
        name->setFocus(false);
        QTRY_COMPARE(vm()->currentEditRecords().at(1).name, QStringLiteral("abc"));
        clickItem(inRow(3, "rowCheckBox"));
        QTRY_VERIFY(inRow(3, "rowCheckBox")->property("checked").toBool());
        QVERIFY(vm()->currentEditRecords().at(3).checked);
        QQuickItem *kept = inRow(Devices - 1, "nameField");

        const QString path = root->path() + QStringLiteral("/list.csv");
        QVERIFY(TestFiles::writeBytes(path, list));
        QVERIFY(QMetaObject::invokeMethod(page, "rowbuttonclicked", Q_ARG(QString, QStringLiteral("bulkLoading")),
                                          Q_ARG(QString, QUrl::fromLocalFile(path).toString()), Q_ARG(int, 0)));
        QVERIFY(vm()->isImportPending());
        QCOMPARE(inRow(Devices - 1, "nameField"), kept);
        for (int row = 0; row < Devices; ++row) {
            QCOMPARE(inRow(row, "nameField")->property("text").toString(), QStringLiteral("新%1").arg(row + 1));
            QVERIFY(!inRow(row, "rowCheckBox")->property("checked").toBool());
            QVERIFY(!vm()->currentEditRecords().at(row).checked);
        }
        host->transit(QStringLiteral("Home.qml"));
    }

    // An import keeps 50 devices, skips lines without a number and renumbers the rest; a line
    // with texts the choice tables lack is skipped like them (the device setting screen
    // refuses such texts).
    void importLimits()
    {
        open(QByteArray());
        QByteArray file = "No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間\n";
        file += ",無番,10.1.0.1,同軸,連続,常時,常時\n";
        file += "7,短い,10.1.0.2,同軸,連続,常時\n";
        for (int i = 1; i <= 60; ++i)
            file += QStringLiteral("%1,機%1,10.2.0.%1,%2,%3,常時,常時\n")
                        .arg(i)
                        .arg(i == 1 ? QStringLiteral("?") : QStringLiteral("同軸"),
                             i == 1 ? QStringLiteral("7分") : QStringLiteral("連続"))
                        .toUtf8();
        const QString path = root->path() + QStringLiteral("/list.csv");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
        out.close();
        const int from = workLineCount();
        DeviceSettingViewModel *screen = vm();
        edit("bulkLoading", QUrl::fromLocalFile(path).toString(), 0);
        QVERIFY(screen->isImportPending());
        QCOMPARE(table()->rowCount(), 50);
        QCOMPARE(screen->currentEditRecords().size(), 51);
        QCOMPARE(cell(0, DeviceSettingModel::DevicenoRole), QStringLiteral("1"));
        QCOMPARE(cell(0, DeviceSettingModel::DevicenameRole), QStringLiteral("機2"));
        QCOMPARE(cell(0, DeviceSettingModel::InputtypeRole), QStringLiteral("同軸"));
        QCOMPARE(screen->currentEditRecords().first().inputType, QStringLiteral("0"));
        QCOMPARE(cell(49, DeviceSettingModel::DevicenoRole), QStringLiteral("50"));
        QCOMPARE(cell(49, DeviceSettingModel::IpaddressRole), QStringLiteral("10.2.0.51"));
        // No wavelength column: the wavelength of a new row.
        QCOMPARE(cell(49, DeviceSettingModel::HikariWaveLengthRole), QStringLiteral("1550"));
        QCOMPARE(workLines(from).size(), 50);
        QCOMPARE(workLines(from).last(), sjis(QStringLiteral(",機器No.50,追加")) + '\r');
    }

    // An import that cannot be read and an export that cannot be written are shown and
    // change nothing.
    void unreadableImportAndFailedExport_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("text");
        QTest::newRow("import: no such file") << "bulkLoading" << "missing.csv" << "missing.csvを読み込めませんでした。";
        QTest::newRow("import: a folder") << "bulkLoading" << "folder.csv" << "folder.csvを読み込めませんでした。";
        QTest::newRow("export: no such folder") << "bulkexport" << "nowhere/out.csv" << "out.csvを保存できませんでした。";
        QTest::newRow("export: onto a folder") << "bulkexport" << "folder.csv" << "folder.csvを保存できませんでした。";
    }

    void unreadableImportAndFailedExport()
    {
        QFETCH(QString, button);
        QFETCH(QString, target);
        QFETCH(QString, text);
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("10.0.0.1")), true);
        host->transit(QStringLiteral("DeviceSetting.qml"));
        QObject *page = host->find(QStringLiteral("DeviceSetting"));
        QVERIFY(page);
        QVERIFY(QDir().mkpath(root->path() + QStringLiteral("/folder.csv")));
        DeviceSettingViewModel *screen = vm();
        const QVector<DeviceEditRecord> records = screen->currentEditRecords();
        const int lines = workLineCount();
        QSignalSpy popups(screen, &DeviceSettingViewModel::openPopup);
        const QString path = root->path() + QLatin1Char('/') + target;
        QVERIFY(QMetaObject::invokeMethod(page, "rowbuttonclicked", Q_ARG(QString, button),
                                          Q_ARG(QString, QUrl::fromLocalFile(path).toString()), Q_ARG(int, 0)));
        QCOMPARE(popups.size(), 1);
        QCOMPARE(popups.first().at(0).toInt(), 4);
        auto *message = host->window->findChild<QObject *>(QStringLiteral("messageText"));
        QVERIFY(message);
        QCOMPARE(message->property("text").toString(), text);
        QVERIFY(!screen->isImportPending());
        QCOMPARE(screen->currentEditRecords().size(), records.size());
        QCOMPARE(table()->rowCount(), 2);
        QCOMPARE(cell(0, DeviceSettingModel::DevicenameRole), QStringLiteral("一号"));
        QCOMPARE(workLineCount(), lines);
        QVERIFY(QFileInfo(root->path() + QStringLiteral("/folder.csv")).isDir());
        QVERIFY(!QFile::exists(root->path() + QStringLiteral("/nowhere")));
        host->transit(QStringLiteral("Home.qml"));
    }

    // The page's signals reach the view model and its pop-ups show the texts; no QML error
    // and no connection by a signature that does not exist.
    void pageContract()
    {
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("10.0.0.1")), true);
        QmlMessageGuard::take();
        host->transit(QStringLiteral("DeviceSetting.qml"));
        QObject *page = host->find(QStringLiteral("DeviceSetting"));
        QVERIFY(page);
        QCOMPARE(page->property("rowindex").toInt(), 2);
        QCOMPARE(page->property("hour").toStringList().size(), 24);
        QCOMPARE(page->property("minutes").toStringList().value(59), QStringLiteral("59"));
        auto *repeater = host->window->findChild<QObject *>(QStringLiteral("settingListRowsRepeater"));
        QVERIFY(repeater);
        QCOMPARE(repeater->property("count").toInt(), 2);

        DeviceSettingViewModel *screen = vm();
        QVERIFY(QMetaObject::invokeMethod(page, "rowbuttonclicked", Q_ARG(QString, QStringLiteral("nameinputrow")),
                                          Q_ARG(QString, QStringLiteral("頁名")), Q_ARG(int, 0)));
        QCOMPARE(screen->currentEditRecords().first().name, QStringLiteral("頁名"));
        QVERIFY(QMetaObject::invokeMethod(page, "changetimeclicked", Q_ARG(QString, QStringLiteral("validtimerowchange")),
                                          Q_ARG(QString, QStringLiteral("09:00")), Q_ARG(QString, QStringLiteral("18:00")),
                                          Q_ARG(int, 0)));
        QCOMPARE(cell(0, DeviceSettingModel::ValidtimeRole), QStringLiteral("09:00～18:00"));
        QVERIFY(QMetaObject::invokeMethod(page, "rowbuttonclicked", Q_ARG(QString, QStringLiteral("validtime")),
                                          Q_ARG(QString, QString()), Q_ARG(int, 0)));
        QCOMPARE(page->property("startH").toString(), QStringLiteral("09"));
        QCOMPARE(page->property("endM").toString(), QStringLiteral("00"));

        // Typing into the name field: at most 8 characters, and no ",".
        auto *nameField = itemNamed(qobject_cast<QQuickItem *>(page), QStringLiteral("nameField"));
        QVERIFY(nameField);
        nameField->forceActiveFocus();
        QVERIFY(QMetaObject::invokeMethod(nameField, "selectAll"));
        for (const char key : QByteArray("ab,cdefghijk"))
            QTest::keyClick(host->window, key);
        QCOMPARE(nameField->property("text").toString(), QStringLiteral("abcdefgh"));
        nameField->setFocus(false);
        QTRY_COMPARE(screen->currentEditRecords().first().name, QStringLiteral("abcdefgh"));
        QVERIFY(QMetaObject::invokeMethod(page, "rowbuttonclicked", Q_ARG(QString, QStringLiteral("nameinputrow")),
                                          Q_ARG(QString, QStringLiteral("頁名")), Q_ARG(int, 0)));

        QVERIFY(QMetaObject::invokeMethod(page, "rowbuttonclicked", Q_ARG(QString, QStringLiteral("changeipaddress")),
                                          Q_ARG(QString, QStringLiteral("  1.  2.  3.256")), Q_ARG(int, 0)));
        QCOMPARE(page->property("validTimeErrorPopupFlg").toInt(), 9);
        auto *message = host->window->findChild<QObject *>(QStringLiteral("messageText"));
        QVERIFY(message);
        QCOMPARE(message->property("text").toString(),
                 QStringLiteral("機器No.1 の\nIPアドレス(第2-4オクテット)が不正です。\n0 から 255 までの数値を入力してください。"));

        // The bulk valid-time pop-up refuses equal times with message 6 and sends nothing;
        // otherwise it sends the all-rows change.
        QSignalSpy times(page, SIGNAL(changetimeclicked(QString,QString,QString,int)));
        auto *bulk = host->window->findChild<QObject *>(QStringLiteral("bulkPopup"));
        QVERIFY(bulk);
        QVERIFY(QMetaObject::invokeMethod(bulk, "show", Q_ARG(QVariant, QStringLiteral("validtime"))));
        QObject *endHour = host->window->findChild<QObject *>(QStringLiteral("bulkEndHour"));
        QObject *endMinute = host->window->findChild<QObject *>(QStringLiteral("bulkEndMinute"));
        QObject *yes = host->window->findChild<QObject *>(QStringLiteral("bulkYes"));
        QVERIFY(endHour && endMinute && yes);
        endHour->setProperty("currentIndex", 0);
        endMinute->setProperty("currentIndex", 0);
        QVERIFY(QMetaObject::invokeMethod(yes, "clicked"));
        QCOMPARE(times.size(), 0);
        QCOMPARE(page->property("validTimeErrorPopupFlg").toInt(), 6);
        QCOMPARE(message->property("text").toString(), QStringLiteral("同一の時刻は入力できません。"));
        endHour->setProperty("currentIndex", 8);
        QVERIFY(QMetaObject::invokeMethod(yes, "clicked"));
        QCOMPARE(times.size(), 1);
        QCOMPARE(times.first().at(0).toString(), QStringLiteral("validtimebulkchange"));
        QCOMPARE(times.first().at(1).toString(), QStringLiteral("00:00"));
        QCOMPARE(times.first().at(2).toString(), QStringLiteral("08:00"));
        QCOMPARE(cell(1, DeviceSettingModel::ValidtimeRole), QStringLiteral("00:00～08:00"));

        // The file dialogs are made on first use, with their titles.
        const QList<QStringList> dialogs {
            {QStringLiteral("importDialogLoader"), QStringLiteral("importDialog"), QStringLiteral("ファイルを選択してください")},
            {QStringLiteral("exportDialogLoader"), QStringLiteral("exportDialog"), QStringLiteral("フォルダを選択してください")}};
        for (const QStringList &dialog : dialogs) {
            QObject *loader = host->window->findChild<QObject *>(dialog.at(0));
            QVERIFY(loader);
            QVERIFY(!loader->property("item").value<QObject *>());
            QVERIFY(QMetaObject::invokeMethod(loader, "open"));
            QObject *made = loader->property("item").value<QObject *>();
            QVERIFY(made);
            QCOMPARE(made->objectName(), dialog.at(1));
            QCOMPARE(made->property("title").toString(), dialog.at(2));
            QVERIFY(made->property("visible").toBool());
            QVERIFY(QMetaObject::invokeMethod(made, "close"));
        }
        // Qt's own fallback dialog reports binding loops in its own files; ours must be clean.
        QStringList messages = QmlMessageGuard::take();
        messages.erase(std::remove_if(messages.begin(), messages.end(),
                                      [](const QString &text) { return text.contains(QLatin1String("/qt5/qml/QtQuick/")); }),
                       messages.end());
        QCOMPARE(messages, QStringList());

        QSignalSpy home(screen, &DeviceSettingViewModel::changeHomeDialog);
        QVERIFY(QMetaObject::invokeMethod(page, "changeDestroy"));
        QCOMPARE(home.size(), 1);
        QCOMPARE(QmlMessageGuard::take(), QStringList());

        QSignalSpy channel(screen, &DeviceSettingViewModel::dataPassDeviceData);
        host->transit(QStringLiteral("DeviceSetting.qml"));
        page = host->find(QStringLiteral("DeviceSetting"));
        QVERIFY(QMetaObject::invokeMethod(page, "rowbuttonclicked", Q_ARG(QString, QStringLiteral("measurechannel")),
                                          Q_ARG(QString, QString()), Q_ARG(int, 0)));
        QCOMPARE(channel.size(), 1);
        QCOMPARE(channel.first().at(0).toInt(), 1);
        QCOMPARE(channel.first().at(1).toString(), QStringLiteral("一号"));
        QTRY_VERIFY(host->find(QStringLiteral("ChannelSetting")));
        host->transit(QStringLiteral("Home.qml"));
        QCOMPARE(QmlMessageGuard::take(), QStringList());
    }
};

QTEST_MAIN(TestDeviceSetting)
#include "tst_devicesetting.moc"
