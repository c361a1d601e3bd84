// ctest-label: frame
// Start-up with a damaged or foreign "DeviceRegistSetting.csv", through to the close that
// rewrites it: a damaged line keeps its device number (the devices after it keep their
// plans and thresholds), values the device setting screen refuses keep their device stopped,
// both lines are written back as they were read, and the operator is told once; a Shift-JIS
// file is read as such; lines past the fiftieth device are kept aside; and pending plans and
// thresholds left by an earlier run never go into service on their own.
#include "FrameHost.h"

#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "screens/HomeViewModel.h"
#include "storage/AlertSettingFile.h"
#include "storage/ChannelSettingFile.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QTextCodec>

namespace {

const QByteArray Header = QStringLiteral(
    "No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
    "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)\n").toUtf8();
const QByteArray PlanHeader =
    "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n";
const QByteArray AlertHeader =
    "'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER,HikariLevelMin,HikariLevelMax,ConvertCNR\n";

// A stopped device line; nothing polls it.
QByteArray deviceLine(int no, const QString &name, const QString &address)
{
    return QStringLiteral("%1,%2,%3,同軸,連続,常時,常時,1550,SN%1,MAC%1,FW%1,1,MER,MER\n")
        .arg(no)
        .arg(name, address)
        .toUtf8();
}

QByteArray planOf(int channel)
{
    return PlanHeader + QByteArray("0,") + QByteArray::number(channel) + ",473142,0,0,0,1\n";
}

QByteArray alertOf(int channel)
{
    return AlertHeader + QByteArray("0,") + QByteArray::number(channel) + ",47.0,81.0,25.0,1.0E-4,-10.0,0.0,21.0\n";
}

QObject *findText(QQuickItem *item, const QString &part)
{
    if (!item)
        return nullptr;
    if (item->property("text").toString().contains(part))
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (QObject *found = findText(child, part))
            return found;
    }
    return nullptr;
}

} // namespace

class TestDamagedRegistration : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FrameRoot> root;

    bool anyLogContains(const QString &part) const
    {
        for (const QString &message : root->logMessages()) {
            if (message.contains(part))
                return true;
        }
        return false;
    }

    QList<QByteArray> registrationLines() const
    {
        QList<QByteArray> lines = root->readFile(root->registrationPath()).split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

private slots:
    void init()
    {
        QmlMessageGuard::install();
        root.reset(new FrameRoot);
        QVERIFY(root->prepare());
    }

    void cleanup()
    {
        root.reset();
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }

    // Device 2's line is damaged: device 3 stays device 3 with its own plan and thresholds,
    // device 2 stays stopped without address, the operator is told once, and the close
    // writes the damaged line back where it was, the original file kept aside.
    void damagedLineKeepsItsNumber_data()
    {
        QTest::addColumn<QByteArray>("damaged");
        QTest::newRow("too few fields") << QByteArray("2,二号,127.0.0.3");
        QTest::newRow("no device number")
            << QStringLiteral(",二号,127.0.0.3,同軸,連続,常時,常時,1550,SN2,MAC2,FW2,1,MER,MER").toUtf8();
        QTest::newRow("NUL byte in the name")
            << QByteArray("2,\xE4\xBA\x8C\0\xE5\x8F\xB7,127.0.0.3,", 20)
                   + QStringLiteral("同軸,連続,常時,常時,1550,SN2,MAC2,FW2,1,MER,MER").toUtf8();
        QTest::newRow("NUL bytes only") << QByteArray(16, '\0');
    }

    void damagedLineKeepsItsNumber()
    {
        QFETCH(QByteArray, damaged);
        const QByteArray original = Header + deviceLine(1, QStringLiteral("一号"), QStringLiteral("127.0.0.2:16199"))
                                    + damaged + '\n'
                                    + deviceLine(3, QStringLiteral("三号"), QStringLiteral("127.0.0.4:16199"));
        QVERIFY(root->writeSetting(QStringLiteral("DeviceRegistSetting.csv"), original));
        for (int n = 1; n <= 3; ++n) {
            QVERIFY(root->writeSetting(QStringLiteral("MeasurementChannelSetting/%1.csv").arg(n), planOf(10 + n)));
            QVERIFY(root->writeSetting(QStringLiteral("AlertSetting/alert_%1.csv").arg(n), alertOf(10 + n)));
        }

        FrameHost host(false);
        QVERIFY(host.isValid());
        auto *home = qobject_cast<HomeViewModel *>(host.frame->viewModelOf(QStringLiteral("Home")));
        QVERIFY(home);
        QSignalSpy told(home, SIGNAL(registrationDamaged(QVariant)));
        host.frame->openFirstScreen();

        DeviceList *devices = host.app->deviceList();
        QCOMPARE(devices->deviceCount(), 3);
        LevelChecker *third = devices->device(2);
        QCOMPARE(third->name(), QStringLiteral("三号"));
        QCOMPARE(third->ipAddressText(), QStringLiteral("127.0.0.4"));
        QCOMPARE(third->serialNumber(), QStringLiteral("SN3"));
        QCOMPARE(third->channelSettingCount(), 1);
        QCOMPARE(third->channelSetting(0).channel, QStringLiteral("13"));
        QCOMPARE(third->alertSettingCount(), 1);
        QCOMPARE(third->alertSetting(0).channel, QStringLiteral("13"));
        LevelChecker *second = devices->device(1);
        QCOMPARE(second->measurementState(), 1);
        QCOMPARE(second->ipAddressText(), QStringLiteral("0.0.0.0"));
        QVERIFY(!second->isMeasurable());
        QVERIFY(anyLogContains(QStringLiteral("DeviceRegistSetting.csv line 3 (device 2)")));
        QVERIFY(anyLogContains(QStringLiteral("DeviceRegistSetting.csv kept as DeviceRegistSetting.csv.damaged")));
        QCOMPARE(root->readFile(root->registrationPath() + QStringLiteral(".damaged")), original);

        // Told on the home page, and only once however often the home screen opens.
        QObject *popup = host.child("registrationDamagedPopup");
        QVERIFY(popup);
        QTRY_VERIFY(popup->property("opened").toBool());
        QVERIFY(findText(popup->property("contentItem").value<QQuickItem *>(), QStringLiteral("機器No.2 ")));
        QVERIFY(host.waitForBoot());
        QVERIFY(host.click(QStringLiteral("registrationDamagedOkButton")));
        QTRY_VERIFY(!popup->property("opened").toBool());
        host.transit(QStringLiteral("SystemSetting.qml"));
        QTRY_COMPARE(host.currentPageName(), QStringLiteral("SystemSetting"));
        host.transit(QStringLiteral("Home.qml"));
        QTRY_COMPARE(host.currentPageName(), QStringLiteral("Home"));
        QCOMPARE(told.count(), 1);
        QVERIFY(!popup->property("opened").toBool());

        // The close writes the damaged line back as it was, between its neighbours.
        host.frame->closeWritemMeasuerInfo();
        const QList<QByteArray> lines = registrationLines();
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(2), damaged);
        QVERIFY(lines.at(1).startsWith(QStringLiteral("1,一号,127.0.0.2:16199,").toUtf8()));
        QVERIFY(lines.at(3).startsWith(QStringLiteral("3,三号,127.0.0.4:16199,").toUtf8()));
    }

    // A device whose line holds values the device setting screen refuses is not altered into
    // some other device: it stays stopped, without address, and its line is written back.
    void refusedValuesKeepTheLineAsRead_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("inputType");
        QTest::addColumn<QString>("cycle");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        const QString coax = QStringLiteral("同軸");
        const QString always = QStringLiteral("常時");
        const QString continuous = QStringLiteral("連続");
        QTest::newRow("first octet past 223") << "999.1.1.1" << coax << continuous << always << always;
        QTest::newRow("octet past 255") << "383.0.0.1" << coax << continuous << always << always;
        QTest::newRow("letters in an octet") << "127.0.0.x" << coax << continuous << always << always;
        QTest::newRow("three octets") << "127.0.1" << coax << continuous << always << always;
        QTest::newRow("port no number") << "127.0.0.2:abc" << coax << continuous << always << always;
        QTest::newRow("port past 65535") << "127.0.0.2:70000" << coax << continuous << always << always;
        QTest::newRow("input type") << "127.0.0.2" << "?" << continuous << always << always;
        QTest::newRow("empty input type") << "127.0.0.2" << "" << continuous << always << always;
        QTest::newRow("cycle") << "127.0.0.2" << coax << "7分" << always << always;
        QTest::newRow("start time") << "127.0.0.2" << coax << continuous << "25:99" << "26:00";
        QTest::newRow("end time") << "127.0.0.2" << coax << continuous << "08:00" << "24:61";
    }

    void refusedValuesKeepTheLineAsRead()
    {
        QFETCH(QString, address);
        QFETCH(QString, inputType);
        QFETCH(QString, cycle);
        QFETCH(QString, start);
        QFETCH(QString, end);
        // Measuring at the last end; no plan, so that nothing is polled whatever the address.
        const QByteArray line = QStringLiteral("1,一号,%1,%2,%3,%4,%5,1550,SN1,MAC1,FW1,0,MER,MER")
                                    .arg(address, inputType, cycle, start, end)
                                    .toUtf8();
        const QByteArray good = deviceLine(2, QStringLiteral("二号"), QStringLiteral("127.0.0.3:16199"));
        QVERIFY(root->writeSetting(QStringLiteral("DeviceRegistSetting.csv"), Header + line + '\n' + good));

        FrameHost host;
        QVERIFY(host.isValid());
        DeviceList *devices = host.app->deviceList();
        QCOMPARE(devices->deviceCount(), 2);
        LevelChecker *device = devices->device(0);
        QCOMPARE(device->measurementState(), 1);
        QVERIFY(!device->isMonitoring());
        QCOMPARE(device->ipAddressText(), QStringLiteral("0.0.0.0"));
        QCOMPARE(devices->device(1)->ipAddressText(), QStringLiteral("127.0.0.3"));
        QVERIFY(anyLogContains(QStringLiteral("DeviceRegistSetting.csv line 2 (device 1)")));

        host.frame->closeWritemMeasuerInfo();
        const QList<QByteArray> lines = registrationLines();
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(1), line);
        QCOMPARE(lines.at(2) + '\n', good);
    }

    // An operator's change to such a device is his: the close writes the device as it now is.
    void changedDeviceIsWrittenAsItIs()
    {
        const QByteArray line = QStringLiteral("1,一号,999.1.1.1,同軸,連続,常時,常時,1550,SN1,MAC1,FW1,0,MER,MER").toUtf8();
        QVERIFY(root->writeSetting(QStringLiteral("DeviceRegistSetting.csv"), Header + line + '\n'));
        FrameHost host;
        QVERIFY(host.isValid());
        LevelChecker *device = host.app->deviceList()->device(0);
        const quint32 address = 0x0400007f; // 127.0.0.4 in memory order
        device->setIpAddress(&address);
        host.frame->closeWritemMeasuerInfo();
        const QList<QByteArray> lines = registrationLines();
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(1).startsWith(QStringLiteral("1,一号,127.0.0.4,同軸,").toUtf8()));
    }

    // A file saved in Shift-JIS is read as Shift-JIS, layout and names intact; the close
    // writes UTF-8.
    void shiftJisRegistration()
    {
        QTextCodec *sjis = QTextCodec::codecForName("Shift-JIS");
        QVERIFY(sjis);
        const QString text = QString::fromUtf8(Header)
                             + QStringLiteral("1,光受信点,127.0.0.2:16199,光,5分,08:00,17:30,1310,SN1,MAC1,FW1,1,CNR,MER\r\n"
                                              "2,衛星,127.0.0.3:16199,同軸,連続,常時,常時,1625,SN2,MAC2,FW2,1,MER,CNR\r\n");
        QVERIFY(root->writeSetting(QStringLiteral("DeviceRegistSetting.csv"), sjis->fromUnicode(text)));

        FrameHost host;
        QVERIFY(host.isValid());
        DeviceList *devices = host.app->deviceList();
        QCOMPARE(devices->deviceCount(), 2);
        QCOMPARE(devices->device(0)->name(), QStringLiteral("光受信点"));
        QCOMPARE(devices->device(0)->inputTypeText(), QStringLiteral("光"));
        QCOMPARE(devices->device(0)->wavelengthText(), QStringLiteral("1310"));
        QCOMPARE(devices->device(0)->serialNumber(), QStringLiteral("SN1"));
        QCOMPARE(devices->device(0)->terrestrialMerCnText(), QStringLiteral("CNR"));
        QCOMPARE(devices->device(1)->name(), QStringLiteral("衛星"));
        QCOMPARE(devices->device(1)->catvMerCnText(), QStringLiteral("CNR"));
        QVERIFY(anyLogContains(QStringLiteral("read as Shift-JIS")));

        host.frame->closeWritemMeasuerInfo();
        const QByteArray written = root->readFile(root->registrationPath());
        QVERIFY(written.contains(QStringLiteral("1,光受信点,127.0.0.2:16199,光,5分,08:00,17:30,1310,SN1,MAC1,FW1,1,CNR,MER\n").toUtf8()));
        QVERIFY(written.contains(QStringLiteral("2,衛星,127.0.0.3:16199,同軸,").toUtf8()));
    }

    // Lines past the fiftieth device are logged and the file is kept aside before the close
    // rewrites it with fifty.
    void linesPastFiftyAreKeptAside()
    {
        QByteArray original = Header;
        for (int i = 1; i <= 53; ++i)
            original += deviceLine(i, QStringLiteral("D%1").arg(i), QStringLiteral("127.0.0.%1:16199").arg(i));
        QVERIFY(root->writeSetting(QStringLiteral("DeviceRegistSetting.csv"), original));
        FrameHost host;
        QVERIFY(host.isValid());
        QCOMPARE(host.app->deviceList()->deviceCount(), 50);
        QVERIFY(anyLogContains(QStringLiteral("DeviceRegistSetting.csv lines 52 to 54 are past the 50th device")));
        QCOMPARE(root->readFile(root->registrationPath() + QStringLiteral(".damaged")), original);
        host.frame->closeWritemMeasuerInfo();
        QCOMPARE(registrationLines().size(), 51);
        // The copy aside stays as the original was.
        QCOMPARE(root->readFile(root->registrationPath() + QStringLiteral(".damaged")), original);
    }

    // A pending pair left by a save whose apply never came goes at the next start; a pending
    // plan alone is what an apply cut between its two moves leaves (its thresholds already
    // in service): it follows them.
    void leftoverPendingFilesAtStart()
    {
        QByteArray registration = Header;
        for (int n = 1; n <= 3; ++n)
            registration += deviceLine(n, QStringLiteral("D%1").arg(n), QStringLiteral("0.0.0.0"));
        QVERIFY(root->writeSetting(QStringLiteral("DeviceRegistSetting.csv"), registration));
        for (int n = 1; n <= 3; ++n) {
            QVERIFY(root->writeSetting(QStringLiteral("MeasurementChannelSetting/%1.csv").arg(n), planOf(10 + n)));
            QVERIFY(root->writeSetting(QStringLiteral("AlertSetting/alert_%1.csv").arg(n), alertOf(10 + n)));
        }
        // Device 1: a whole saved pair. Device 2: the pending thresholds of a save cut before
        // its plan. Device 3: the plan of an apply cut after the thresholds moved. Device 7
        // (not registered): a pair saved for a device added and never applied.
        QVERIFY(root->writeSetting(QStringLiteral("MeasurementChannelSetting/1_new.csv"), planOf(21)));
        QVERIFY(root->writeSetting(QStringLiteral("AlertSetting/alert_1_new.csv"), alertOf(21)));
        QVERIFY(root->writeSetting(QStringLiteral("AlertSetting/alert_2_new.csv"), alertOf(22)));
        QVERIFY(root->writeSetting(QStringLiteral("AlertSetting/alert_3.csv"), alertOf(23)));
        QVERIFY(root->writeSetting(QStringLiteral("MeasurementChannelSetting/3_new.csv"), planOf(23)));
        QVERIFY(root->writeSetting(QStringLiteral("MeasurementChannelSetting/7_new.csv"), planOf(27)));
        QVERIFY(root->writeSetting(QStringLiteral("AlertSetting/alert_7_new.csv"), alertOf(27)));

        FrameHost host;
        QVERIFY(host.isValid());
        for (int n : {1, 2, 7})
            QVERIFY2(!ChannelSettingFile::pendingPairExists(n), qPrintable(QString::number(n)));
        QVERIFY(!ChannelSettingFile::exists(3, ChannelSettingFile::Copy::Pending));
        DeviceList *devices = host.app->deviceList();
        QCOMPARE(devices->device(0)->channelSetting(0).channel, QStringLiteral("11"));
        QCOMPARE(devices->device(0)->alertSetting(0).channel, QStringLiteral("11"));
        QCOMPARE(devices->device(1)->alertSetting(0).channel, QStringLiteral("12"));
        QCOMPARE(devices->device(2)->channelSetting(0).channel, QStringLiteral("23"));
        QCOMPARE(devices->device(2)->alertSetting(0).channel, QStringLiteral("23"));
        QVERIFY(anyLogContains(QStringLiteral("1_new.csv / alert_1_new.csv of an unfinished save removed")));
        QVERIFY(anyLogContains(QStringLiteral("3_new.csv of an unfinished apply put into service")));
    }
};

QTEST_MAIN(TestDamagedRegistration)
#include "tst_damagedregistration.moc"
