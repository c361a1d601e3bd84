// ctest-label: settings
// The device setting screen worked as an operator works it, with keys and the mouse in the
// real main window: a typed name or address followed at once by a click, a cleared name,
// the removal of the last device and of its files, the row valid-time pop-up, and the row
// ticks after an apply that rebuilt the table.

#include "monitor/LevelChecker.h"
#include "settings/DeviceSettingPage.h"
#include "storage/AlertSettingFile.h"
#include "storage/ChannelSettingFile.h"
#include "support/TestFiles.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const QByteArray Header = QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
                                         "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)\n")
                              .toUtf8();
const QByteArray PlanHeader = "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n";
constexpr int Patience = 40000;

QByteArray line(int no, const QString &name, const QString &address, const QString &start = QStringLiteral("常時"),
                const QString &end = QStringLiteral("常時"))
{
    return QStringLiteral("%1,%2,%3,同軸,連続,%4,%5,1550,SN%1,MAC%1,FW%1,1,MER,MER\n")
        .arg(no)
        .arg(name, address, start, end)
        .toUtf8();
}

} // namespace

class TestOperatorPaths : public QObject, DeviceSettingPage
{
    Q_OBJECT

private:
    // Boots the main window on that registration and opens the device setting screen.
    void open(const QByteArray &registration)
    {
        QVERIFY(DeviceSettingPage::open(registration));
        vm()->setReadoutBoundMs(300);
    }

    bool logContains(const QString &text) const
    {
        for (const QString &message : root->logMessages()) {
            if (message.contains(text))
                return true;
        }
        return false;
    }

    void waitForReadoutEnd() const
    {
        QTRY_VERIFY_WITH_TIMEOUT(!vm()->isReadoutRunning(), Patience);
    }

private slots:
    void initTestCase()
    {
        QmlMessageGuard::install();
    }

    void cleanup() { close(); }

    // A name or address typed and then, without leaving the field, a button of the page or
    // the frame clicked: the button acts on what was typed.
    void typedThenClicked_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("addressLast");
        QTest::newRow("apply, address last") << "apply" << true;
        QTest::newRow("apply, name last") << "apply" << false;
        QTest::newRow("connection test") << "test" << true;
        QTest::newRow("channel setting, name last") << "channel" << false;
        QTest::newRow("channel setting, address last") << "channel" << true;
        QTest::newRow("home") << "home" << false;
    }

    void typedThenClicked()
    {
        QFETCH(QString, button);
        QFETCH(bool, addressLast);
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("127.0.0.9")));
        // HOME is about an edit of the registered device; the others about the new row.
        const int row = button == QLatin1String("home") ? 0 : 1;
        QQuickItem *name = inRow(row, "nameField");
        QQuickItem *address = inRow(row, "addressField");
        QVERIFY(name && address);
        if (addressLast) {
            typeInto(name, "NEWDEV");
            typeInto(address, "127.0.0.1");
        } else {
            typeInto(address, "127.0.0.1");
            typeInto(name, "NEWDEV");
        }
        QSignalSpy channel(vm(), &DeviceSettingViewModel::dataPassDeviceData);
        QSignalSpy popups(vm(), &DeviceSettingViewModel::openPopup);

        if (button == QLatin1String("apply")) {
            clickNamed("applyButton");
            QTRY_COMPARE(devices()->deviceCount(), 2);
            QCOMPARE(devices()->device(1)->name(), QStringLiteral("NEWDEV"));
            QCOMPARE(devices()->device(1)->ipAddressText(), QStringLiteral("127.0.0.1"));
            waitForReadoutEnd();
        } else if (button == QLatin1String("test")) {
            clickItem(inRow(row, "connectionTestButton"));
            QTRY_VERIFY(!popups.isEmpty());
            QCOMPARE(popups.first().at(0).toInt(), 3);
            QVERIFY(logContains(QStringLiteral("ping 127.0.0.1")));
            QTRY_VERIFY_WITH_TIMEOUT(popups.size() == 2, 10000);
            QCOMPARE(popups.last().at(0).toInt(), 1);
        } else if (button == QLatin1String("channel")) {
            clickItem(inRow(row, "channelSettingButton"));
            QTRY_COMPARE(channel.size(), 1);
            QCOMPARE(channel.first().at(0).toInt(), 2);
            QCOMPARE(channel.first().at(1).toString(), QStringLiteral("NEWDEV"));
            QTRY_COMPARE(host->currentPageName(), QStringLiteral("ChannelSetting"));
        } else {
            clickNamed("homeButton");
            QTRY_COMPARE(page()->property("validTimeErrorPopupFlg").toInt(), 5);
            QCOMPARE(host->currentPageName(), QStringLiteral("DeviceSetting"));
        }
        const DeviceEditRecord record = vm()->currentEditRecords().at(row);
        QCOMPARE(record.name, QStringLiteral("NEWDEV"));
        QCOMPARE(record.ipAddress, QStringLiteral("127.0.0.1"));
        QCOMPARE(QmlMessageGuard::take(), QStringList());
    }

    // A name cleared in its field is taken: the record follows the field, and the last
    // device, its name and address cleared, is removed by the apply.
    void clearedNameAndLastDevice()
    {
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("127.0.0.1"))
             + line(2, QStringLiteral("二号"), QStringLiteral("127.0.0.2"))
             + line(3, QStringLiteral("三号"), QStringLiteral("127.0.0.3")));
        // A middle row: the name cleared stays cleared, in the record as on the page.
        typeInto(inRow(1, "nameField"), QByteArray());
        typeInto(inRow(1, "addressField"), "127.0.0.22");
        QCOMPARE(vm()->currentEditRecords().at(1).name, QString());
        QCOMPARE(table()->data(table()->index(1), DeviceSettingModel::DevicenameRole).toString(), QString());

        // The last device: name and address cleared, then the apply at once.
        typeInto(inRow(2, "nameField"), QByteArray());
        typeInto(inRow(2, "addressField"), QByteArray());
        QSignalSpy popups(vm(), &DeviceSettingViewModel::openPopup);
        clickNamed("applyButton");
        QTRY_COMPARE(devices()->deviceCount(), 2);
        for (const QList<QVariant> &shown : qAsConst(popups))
            QVERIFY2(shown.at(0).toInt() == 4, "only the progress pop-up");
        waitForReadoutEnd();
        QCOMPARE(devices()->device(1)->name(), QString());
        QCOMPARE(devices()->device(1)->ipAddressText(), QStringLiteral("127.0.0.22"));
        QCOMPARE(table()->rowCount(), 3);
        const QByteArray registration = root->readFile(root->registrationPath());
        QVERIFY(!registration.contains("三号"));
        QVERIFY(registration.contains("\n2,,127.0.0.22:161,"));
        QCOMPARE(QmlMessageGuard::take(), QStringList());
    }

    // A device removed at the end of the table takes its plan and thresholds, committed and
    // pending, with it: the next device given its number starts without them.
    void removedDeviceTakesItsFiles()
    {
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("127.0.0.1"))
             + line(2, QStringLiteral("二号"), QStringLiteral("127.0.0.2")));
        QVERIFY(TestFiles::writeBytes(ChannelSettingFile::filePath(1), PlanHeader + "0,13,473143,0,0,0,1\n"));
        const QStringList files {ChannelSettingFile::filePath(2), ChannelSettingFile::filePath(2, ChannelSettingFile::Copy::Pending),
                                 AlertSettingFile::filePath(2), AlertSettingFile::filePath(2, AlertSettingFile::Copy::Pending)};
        for (const QString &path : files)
            QVERIFY(TestFiles::writeBytes(path, PlanHeader + "0,20,515143,0,0,0,1\n"));

        typeInto(inRow(1, "nameField"), QByteArray());
        typeInto(inRow(1, "addressField"), QByteArray());
        clickNamed("applyButton");
        QTRY_COMPARE(devices()->deviceCount(), 1);
        waitForReadoutEnd();
        for (const QString &path : files)
            QVERIFY2(!QFileInfo::exists(path), qPrintable(path));
        QVERIFY(QFileInfo::exists(ChannelSettingFile::filePath(1)));
        QTRY_VERIFY(host->visibleItem(QStringLiteral("messageOk")));
        clickNamed("messageOk");

        // A new device of that number measures nothing until it is given a plan.
        typeInto(inRow(1, "nameField"), "NEW2");
        typeInto(inRow(1, "addressField"), "127.0.0.9");
        clickNamed("applyButton");
        QTRY_COMPARE(devices()->deviceCount(), 2);
        waitForReadoutEnd();
        QCOMPARE(devices()->device(1)->channelSettingCount(), 0);
        QCOMPARE(devices()->device(1)->alertSettingCount(), 0);
    }

    // The only device removed: the registration is written without it, its files go, and
    // the operator is told the setting is done; a restart finds no device.
    void onlyDeviceRemoved()
    {
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("127.0.0.1")));
        const QStringList files {ChannelSettingFile::filePath(1), AlertSettingFile::filePath(1)};
        for (const QString &path : files)
            QVERIFY(TestFiles::writeBytes(path, PlanHeader + "0,13,473143,0,0,0,1\n"));

        typeInto(inRow(0, "nameField"), QByteArray());
        typeInto(inRow(0, "addressField"), QByteArray());
        clickNamed("applyButton");
        QTRY_COMPARE(devices()->deviceCount(), 0);
        waitForReadoutEnd();
        QTRY_VERIFY(host->visibleItem(QStringLiteral("messageOk")));
        QCOMPARE(page()->property("settngtext").toString().contains(QStringLiteral("設定完了")), true);
        QCOMPARE(registrationBytes(), Header);
        for (const QString &path : files)
            QVERIFY2(!QFileInfo::exists(path), qPrintable(path));
    }

    // The row's valid-time pop-up: the pickers show their whole two digits, and a row that
    // shows 常時 opens with 常時 ticked, so that はい keeps it.
    void validTimePopup()
    {
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("127.0.0.1"))
             + line(2, QStringLiteral("二号"), QStringLiteral("127.0.0.2"), QStringLiteral("08:00"),
                    QStringLiteral("23:59")));
        clickItem(inRow(0, "validTimeButton"));
        QObject *popup = nullptr;
        QTRY_VERIFY((popup = host->visibleItem(QStringLiteral("rowValidTimePopupContent"))));
        QQuickItem *always = host->visibleItem(QStringLiteral("rowAlwaysBox"));
        QVERIFY(always);
        QVERIFY(always->property("checked").toBool());
        clickNamed("rowValidTimeYes");
        QTRY_VERIFY(!host->visibleItem(QStringLiteral("rowValidTimePopupContent")));
        QCOMPARE(table()->data(table()->index(0), DeviceSettingModel::ValidtimeRole).toString(), QStringLiteral("常時"));
        QCOMPARE(vm()->currentEditRecords().at(0).startTime, QStringLiteral("常時"));

        clickItem(inRow(1, "validTimeButton"));
        QTRY_VERIFY(host->visibleItem(QStringLiteral("rowValidTimePopupContent")));
        QVERIFY(!host->visibleItem(QStringLiteral("rowAlwaysBox"))->property("checked").toBool());
        // Under a real display (xcb), a picture to look at.
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            QVERIFY(host->savePicture(QStringLiteral("devicesetting-validtime.png")));
        // Every picker shows its whole text: "23" and "59" fit, and so does "00".
        for (const char *name : {"rowStartHour", "rowStartMinute", "rowEndHour", "rowEndMinute"}) {
            QQuickItem *picker = host->visibleItem(QLatin1String(name));
            QVERIFY2(picker, name);
            QQuickItem *text = picker->property("contentItem").value<QQuickItem *>();
            QVERIFY(text);
            for (const QString &shown : {QStringLiteral("00"), QStringLiteral("23"), QStringLiteral("59")}) {
                text->setProperty("text", shown);
                // The text's own width with the padding around it.
                const qreal needed = text->property("contentWidth").toReal() + text->property("leftPadding").toReal()
                                     + text->property("rightPadding").toReal();
                QVERIFY2(needed <= text->width(), qPrintable(QStringLiteral("%1: %2 needs %3, has %4")
                                                                 .arg(QLatin1String(name), shown)
                                                                 .arg(needed)
                                                                 .arg(text->width())));
            }
        }
        QCOMPARE(QmlMessageGuard::take(), QStringList());
    }

    // After an apply that rebuilt the table, the ticks shown are the ticks the bulk change
    // "選択した機器のみ" acts on.
    void ticksAfterRebuild()
    {
        open(Header + line(1, QStringLiteral("一号"), QStringLiteral("127.0.0.1"))
             + line(2, QStringLiteral("二号"), QStringLiteral("127.0.0.2"))
             + line(3, QStringLiteral("三号"), QStringLiteral("127.0.0.3")));
        clickItem(inRow(0, "rowCheckBox"));
        QTRY_VERIFY(vm()->currentEditRecords().at(0).checked);
        // The last device removed: the table is made again.
        typeInto(inRow(2, "nameField"), QByteArray());
        typeInto(inRow(2, "addressField"), QByteArray());
        clickNamed("applyButton");
        QTRY_COMPARE(devices()->deviceCount(), 2);
        waitForReadoutEnd();
        QTRY_VERIFY(host->visibleItem(QStringLiteral("messageOk")));
        clickNamed("messageOk");

        for (int row = 0; row < 2; ++row) {
            const bool shown = inRow(row, "rowCheckBox")->property("checked").toBool();
            QCOMPARE(vm()->currentEditRecords().at(row).checked, shown);
        }
        // Row 1 ticked by hand; the cycle of the ticked rows only becomes 60分.
        clickItem(inRow(1, "rowCheckBox"));
        QTRY_VERIFY(inRow(1, "rowCheckBox")->property("checked").toBool());
        const bool rowZeroShown = inRow(0, "rowCheckBox")->property("checked").toBool();
        clickNamed("bulkCycleButton");
        QQuickItem *choice = nullptr;
        QTRY_VERIFY((choice = host->visibleItem(QStringLiteral("bulkChoice"))));
        choice->setProperty("currentIndex", 4);
        clickNamed("bulkCheckedDevices");
        clickNamed("bulkYes");
        QTRY_COMPARE(table()->data(table()->index(1), DeviceSettingModel::CycleIntervalRole).toString(),
                     QStringLiteral("60分"));
        QCOMPARE(table()->data(table()->index(0), DeviceSettingModel::CycleIntervalRole).toString(),
                 rowZeroShown ? QStringLiteral("60分") : QStringLiteral("連続"));
        QCOMPARE(QmlMessageGuard::take(), QStringList());
    }
};

QTEST_MAIN(TestOperatorPaths)
#include "tst_operatorpaths.moc"
