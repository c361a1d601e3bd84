// ctest-label: settings
// The device setting screen against damaged and foreign files: the apply puts each
// device's pending plan and thresholds into service as one pair or not at all and names a
// device whose pair could not move; the import refuses a file without device lines, names
// the lines it skipped, refuses the values the screen refuses, bounds names and reads
// Shift-JIS.

#include "monitor/LevelChecker.h"
#include "settings/DeviceSettingPage.h"
#include "storage/AlertSettingFile.h"
#include "storage/ChannelSettingFile.h"
#include "support/TestFiles.h"

#include <QTextCodec>
#include <QtTest>

#include <memory>

namespace {

const QByteArray Header = QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
                                         "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)\n")
                              .toUtf8();
const QByteArray ListHeader = QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長\n").toUtf8();
const QByteArray PlanHeader =
    "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n";
const QByteArray AlertHeader =
    "'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER,HikariLevelMin,HikariLevelMax,ConvertCNR\n";

// What the end of the readout adds: no device of these tests answers.
const QString Unread = QStringLiteral("\n機器No.1(D1)、機器No.2(D2) の機器情報を取得できませんでした。");

QByteArray planOf(int channel)
{
    return PlanHeader + QByteArray("0,") + QByteArray::number(channel) + ",473142,0,0,0,1\n";
}

QByteArray alertOf(int channel)
{
    return AlertHeader + QByteArray("0,") + QByteArray::number(channel) + ",47.0,81.0,25.0,1.0E-4,-10.0,0.0,21.0\n";
}

QByteArray listLine(int no, const QString &name, const QString &rest)
{
    return QStringLiteral("%1,%2,%3\n").arg(no).arg(name, rest).toUtf8();
}

} // namespace

class TestDeviceSettingFiles : public QObject, DeviceSettingPage
{
    Q_OBJECT

private:
    QString messageText() const
    {
        QObject *message = host->window->findChild<QObject *>(QStringLiteral("messageText"));
        return message ? message->property("text").toString() : QString();
    }
    QString settingPath(const QString &relative) const { return root->settingsFolder() + QLatin1Char('/') + relative; }

private slots:
    void cleanup() { close(); }

    // A device's pending pair goes into service whole or not at all: when one of the two
    // committed files cannot be replaced, both stay as they were, the pair stays pending,
    // the device keeps its plan, and the apply names the device instead of "設定完了".
    void applyPromotesPairs_data()
    {
        QTest::addColumn<QString>("blocked");
        QTest::newRow("both move") << QString();
        QTest::newRow("thresholds cannot move") << QStringLiteral("AlertSetting/alert_2.csv");
        QTest::newRow("plan cannot move") << QStringLiteral("MeasurementChannelSetting/2.csv");
    }

    void applyPromotesPairs()
    {
        QFETCH(QString, blocked);
        QByteArray registration = Header;
        for (int n = 1; n <= 2; ++n)
            registration += QStringLiteral("%1,D%1,0.0.0.0,同軸,連続,常時,常時,1550,,,,1,MER,MER\n").arg(n).toUtf8();
        QVERIFY(open(registration));
        // As a details save leaves them during the run, device 2 with its committed pair.
        for (int n = 1; n <= 2; ++n) {
            QVERIFY(TestFiles::writeBytes(settingPath(QStringLiteral("MeasurementChannelSetting/%1_new.csv").arg(n)),
                                          planOf(20 + n)));
            QVERIFY(TestFiles::writeBytes(settingPath(QStringLiteral("AlertSetting/alert_%1_new.csv").arg(n)),
                                          alertOf(20 + n)));
        }
        QVERIFY(TestFiles::writeBytes(settingPath(QStringLiteral("MeasurementChannelSetting/2.csv")), planOf(12)));
        QVERIFY(TestFiles::writeBytes(settingPath(QStringLiteral("AlertSetting/alert_2.csv")), alertOf(12)));
        if (!blocked.isEmpty()) {
            // A folder with something in it in place of the committed file: nothing moves onto it.
            QVERIFY(QFile::remove(settingPath(blocked)));
            QVERIFY(QDir().mkpath(settingPath(blocked) + QStringLiteral("/busy")));
        }

        DeviceSettingViewModel *screen = vm();
        screen->setReadoutBoundMs(300);
        QVERIFY(screen->applySettings(false));
        QTRY_VERIFY(!screen->isReadoutRunning());

        DeviceList *devices = host->app->deviceList();
        // Device 1's pair moved in any case.
        QCOMPARE(TestFiles::readBytes(settingPath(QStringLiteral("MeasurementChannelSetting/1.csv"))), planOf(21));
        QCOMPARE(TestFiles::readBytes(settingPath(QStringLiteral("AlertSetting/alert_1.csv"))), alertOf(21));
        QCOMPARE(devices->device(0)->channelSetting(0).channel, QStringLiteral("21"));
        QCOMPARE(devices->device(0)->alertSetting(0).channel, QStringLiteral("21"));
        if (blocked.isEmpty()) {
            QCOMPARE(devices->device(1)->channelSetting(0).channel, QStringLiteral("22"));
            QCOMPARE(devices->device(1)->alertSetting(0).channel, QStringLiteral("22"));
            QVERIFY(!ChannelSettingFile::pendingPairExists(2));
            // Neither device answers within the short bound: the end says so.
            QTRY_COMPARE(messageText(), QStringLiteral("設定完了") + Unread);
            return;
        }
        // Neither committed file of device 2 changed, and its pair waits for the next apply.
        const QString plan = settingPath(QStringLiteral("MeasurementChannelSetting/2.csv"));
        const QString thresholds = settingPath(QStringLiteral("AlertSetting/alert_2.csv"));
        if (!blocked.endsWith(QStringLiteral("alert_2.csv")))
            QCOMPARE(TestFiles::readBytes(thresholds), alertOf(12));
        else
            QCOMPARE(TestFiles::readBytes(plan), planOf(12));
        QCOMPARE(TestFiles::readBytes(settingPath(QStringLiteral("MeasurementChannelSetting/2_new.csv"))), planOf(22));
        QCOMPARE(TestFiles::readBytes(settingPath(QStringLiteral("AlertSetting/alert_2_new.csv"))), alertOf(22));
        QVERIFY(devices->device(1)->channelSettingCount() == 0
                || devices->device(1)->channelSetting(0).channel == QStringLiteral("12"));
        QVERIFY(devices->device(1)->alertSettingCount() == 0
                || devices->device(1)->alertSetting(0).channel == QStringLiteral("12"));
        QTRY_COMPARE(messageText(), QStringLiteral("機器No.2 の設定ファイルを置き換えられませんでした。") + Unread);
        QVERIFY(QDir(settingPath(blocked)).removeRecursively());
    }

    // What an import takes, and what it says about the rest.
    void importDamagedLists_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("names");   // the table's names; empty: the table stays
        QTest::addColumn<QString>("message");     // empty: no message

        const QString good = QStringLiteral("10.0.0.%1,同軸,連続,常時,常時,1550");
        QTest::newRow("empty file") << QByteArray() << QStringList() << "list.csvに機器の行がありません。";
        QTest::newRow("header only") << ListHeader << QStringList() << "list.csvに機器の行がありません。";
        // Every byte value but line ends and ",": one line that is no device line.
        QByteArray binary;
        for (int i = 0; i < 512; ++i) {
            const char byte = char((i * 97 + 13) % 256);
            binary += byte == '\n' || byte == '\r' || byte == ',' ? '\0' : byte;
        }
        QTest::newRow("binary") << binary << QStringList()
                                << QStringLiteral("list.csvに機器の行がありません。\n1行目は読み込めませんでした。");
        QTest::newRow("only refused lines")
            << ListHeader + listLine(1, "A", "999.1.1.1,同軸,連続,常時,常時,1550") << QStringList()
            << "list.csvに機器の行がありません。\n2行目は読み込めませんでした。";
        QTest::newRow("short, unnumbered and NUL lines")
            << ListHeader + listLine(1, "A", good.arg(1)) + "2,short,127.0.0.2\n"
                   + QStringLiteral(",B,127.0.0.3,同軸,連続,常時,常時\n").toUtf8() + QByteArray("4,C") + '\0'
                   + QStringLiteral(",127.0.0.4,同軸,連続,常時,常時\n").toUtf8()
                   + listLine(5, "E", good.arg(5))
            << QStringList {"A", "E"} << "3、4、5行目は読み込めませんでした。";
        QTest::newRow("values the screen refuses")
            << ListHeader + listLine(1, "A", "999.1.1.1,同軸,連続,常時,常時,1550")
                   + listLine(2, "B", "127.0.0.2:abc,同軸,連続,常時,常時,1550")
                   + listLine(3, "C", "127.0.0.3,?,連続,常時,常時,1550")
                   + listLine(4, "D", "127.0.0.4,同軸,7分,常時,常時,1550")
                   + listLine(5, "E", "127.0.0.5,同軸,連続,25:99,26:00,1550")
                   + listLine(6, "F", "127.0.0.6:16100,光,5分,08:00,17:30,1310")
            << QStringList {"F"} << "2、3、4、5、6行目は読み込めませんでした。";
        QTest::newRow("long name") << ListHeader + listLine(1, QString(5000, QLatin1Char('x')), good.arg(1))
                                   << QStringList {"xxxxxxxx"} << QString();
        QTest::newRow("Shift-JIS")
            << QTextCodec::codecForName("Shift-JIS")->fromUnicode(
                   QString::fromUtf8(ListHeader) + QStringLiteral("1,光受信点,127.0.0.1,光,5分,常時,常時,1310\r\n"
                                                                  "2,衛星,127.0.0.2,同軸,連続,常時,常時,1550\r\n"))
            << QStringList {"光受信点", "衛星"} << QString();
    }

    void importDamagedLists()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, names);
        QFETCH(QString, message);
        QVERIFY(open(Header + "1,一号,127.0.0.1,同軸,連続,常時,常時,1550,,,,1,MER,MER\n"));
        const QString path = root->path() + QStringLiteral("/list.csv");
        QVERIFY(TestFiles::writeBytes(path, file));
        DeviceSettingViewModel *screen = vm();
        const QVector<DeviceEditRecord> before = screen->currentEditRecords();
        QObject *page = host->find(QStringLiteral("DeviceSetting"));
        QVERIFY(page);
        QSignalSpy popups(screen, &DeviceSettingViewModel::openPopup);
        QVERIFY(QMetaObject::invokeMethod(page, "rowbuttonclicked", Q_ARG(QString, QStringLiteral("bulkLoading")),
                                          Q_ARG(QString, QUrl::fromLocalFile(path).toString()), Q_ARG(int, 0)));
        if (message.isEmpty()) {
            QCOMPARE(popups.size(), 0);
        } else {
            QCOMPARE(popups.size(), 1);
            QCOMPARE(messageText(), message);
        }
        if (names.isEmpty()) {
            QVERIFY(!screen->isImportPending());
            QCOMPARE(screen->currentEditRecords().size(), before.size());
            QCOMPARE(cell(0, DeviceSettingModel::DevicenameRole), QStringLiteral("一号"));
            return;
        }
        QVERIFY(screen->isImportPending());
        QStringList shown;
        for (int row = 0; row + 1 < table()->rowCount(); ++row)
            shown.append(cell(row, DeviceSettingModel::DevicenameRole));
        QCOMPARE(shown, names);
        for (int row = 0; row < names.size(); ++row)
            QCOMPARE(screen->currentEditRecords().at(row).name, names.at(row));
    }
};

QTEST_MAIN(TestDeviceSettingFiles)
#include "tst_devicesettingfiles.moc"
