// ctest-label: settings
// The device-list export and import: the registered devices written as the operator's CSV
// (UTF-8 without byte-order mark, LF), read back into the same table; the import's
// renumbering, skipped lines and 50-device cap; a file that cannot be read changes nothing.
#include "core/SystemLog.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "screens/ResultSaveWriter.h"
#include "storage/DeviceListFile.h"
#include "support/ResultListSetup.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

namespace {

// The table columns the screen shows, one text per column.
QStringList tableOf(const QVector<RegistrationRecord> &records)
{
    QStringList rows;
    for (const RegistrationRecord &r : records)
        rows << QStringList({QString::number(r.deviceNo), r.name, r.ipAddress, QString::number(r.port), r.inputType,
                             r.cycleInterval, r.startTime, r.endTime, r.wavelength})
                    .join(QLatin1Char('|'));
    return rows;
}

QByteArray header()
{
    return DeviceListFile::headerLine().toUtf8() + '\n';
}

} // namespace

class TestDeviceListFile : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void exportThenImportGivesTheSameTable()
    {
        DeviceList list(2, SystemLog::instance(), nullptr);
        struct Spec {
            const char *name;
            const char *address;
            int port;
            int inputType;
            int cycle;
            const char *start;
            const char *end;
            int wavelength;
        };
        const Spec specs[] = {
            {"光受信点", "192.168.1.10", 161, 1, 0, "常時", "常時", 1},
            {"衛星 受信点", "10.0.0.7", 16100, 0, 2, "08:00", "20:30", 3},
            {"CATV局", "172.16.5.200", 161, 0, 4, "常時", "常時", 4},
        };
        for (const Spec &s : specs) {
            const quint32 ip = ResultListSetup::packedAddress(QLatin1String(s.address));
            auto *device = new LevelChecker(list.deviceCount() + 1, QString::fromUtf8(s.name), &ip, s.inputType,
                                            QString(), s.cycle, QString::fromUtf8(s.start), QString::fromUtf8(s.end),
                                            s.wavelength, &list);
            device->setPort(s.port);
            list.addDevice(device);
        }
        const QVector<RegistrationRecord> exported = DeviceListFile::recordsOf(list);
        QCOMPARE(exported.size(), 3);
        const QString file = path(QStringLiteral("devices.csv"));
        QVERIFY(DeviceListFile::write(ResultSaveWriter::localPath(QUrl::fromLocalFile(file).toString()), exported));

        const QByteArray bytes = TestFiles::readBytes(file);
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(!bytes.contains('\r'));
        QCOMPARE(bytes,
                 QByteArray("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長\n"
                            "1,光受信点,192.168.1.10,光,連続,常時,常時,1310\n"
                            "2,衛星 受信点,10.0.0.7:16100,同軸,15分,08:00,20:30,1550\n"
                            "3,CATV局,172.16.5.200,同軸,60分,常時,常時,1625\n"));

        QVector<RegistrationRecord> imported;
        QVERIFY(DeviceListFile::read(file, &imported));
        QCOMPARE(tableOf(imported), tableOf(exported));
        for (const RegistrationRecord &r : imported)
            QCOMPARE(r.measurementState, 1);
    }

    void importRules_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("table");
        QTest::addColumn<int>("dropped");
        QTest::newRow("header only") << header() << QStringList() << 0;
        QTest::newRow("renumbered, empty No skipped, short lines ignored, CR LF")
            << QByteArray("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長\r\n"
                          "7,A,192.168.0.1,同軸,5分,常時,常時,1550\r\n"
                          ",B,192.168.0.2,同軸,5分,常時,常時,1550\r\n"
                          "only,six,fields,in,this,line\r\n"
                          "\r\n"
                          "9,C,192.168.0.3,光,連続,09:00,17:00\r\n")
            << QStringList({"1|A|192.168.0.1|161|同軸|5分|常時|常時|1550", "2|C|192.168.0.3|161|光|連続|09:00|17:00|"})
            << 0;
        QTest::newRow("a short first line is no header")
            << QByteArray("a,b\n") + header() + "1,A,1.2.3.4,同軸,連続,常時,常時,1550\n"
            << QStringList({"1|A|1.2.3.4|161|同軸|連続|常時|常時|1550"}) << 0;
        // Values the device setting screen refuses never reach the table.
        QTest::newRow("refused texts skipped")
            << header() + "1,X,not an address,coax,毎日,常時,常時,9999\n"
                          "2,Y,10.0.0.2,同軸,連続,常時,常時,9999\n"
            << QStringList({"1|Y|10.0.0.2|161|同軸|連続|常時|常時|9999"}) << 0;
        QByteArray sixty = header();
        for (int i = 1; i <= 60; ++i)
            sixty += QStringLiteral("%1,機器%1,10.0.0.%1,同軸,連続,常時,常時,1550\n").arg(i).toUtf8();
        QStringList fifty;
        for (int i = 1; i <= 50; ++i)
            fifty << QStringLiteral("%1|機器%1|10.0.0.%1|161|同軸|連続|常時|常時|1550").arg(i);
        QTest::newRow("sixty devices") << sixty << fifty << 10;
    }

    void importRules()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, table);
        QFETCH(int, dropped);
        const QString file = path(QStringLiteral("import.csv"));
        QVERIFY(TestFiles::writeBytes(file, content));
        QVector<RegistrationRecord> records;
        int droppedLines = -1;
        QVERIFY(DeviceListFile::read(file, &records, &droppedLines));
        QCOMPARE(tableOf(records), table);
        QCOMPARE(droppedLines, dropped);
    }

    void unreadableImportChangesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing file") << "missing.csv";
        QTest::newRow("a folder") << "folder.csv";
    }

    void unreadableImportChangesNothing()
    {
        QFETCH(QString, name);
        QVERIFY(QDir().mkpath(path(QStringLiteral("folder.csv"))));
        QVector<RegistrationRecord> records(2);
        records[0].name = QStringLiteral("残る");
        records[1].name = QStringLiteral("機器");
        QVERIFY(!DeviceListFile::read(path(name), &records));
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(0).name, QStringLiteral("残る"));
    }

    void failedExportIsReported()
    {
        QVector<RegistrationRecord> records(1);
        // A folder in the file's place, and a folder that does not exist.
        QVERIFY(QDir().mkpath(path(QStringLiteral("folder.csv"))));
        QVERIFY(!DeviceListFile::write(path(QStringLiteral("folder.csv")), records));
        QVERIFY(!DeviceListFile::write(path(QStringLiteral("no/such/folder/x.csv")), records));
        QVERIFY(!QFile::exists(path(QStringLiteral("no/such/folder/x.csv"))));
    }

    void dialogChoices()
    {
        QCOMPARE(ResultSaveWriter::localPath(QStringLiteral("file:///home/op/機器 一覧.csv")),
                 QStringLiteral("/home/op/機器 一覧.csv"));
        QCOMPARE(ResultSaveWriter::localPath(QStringLiteral("file:///home/op/a%20b.csv")), QStringLiteral("/home/op/a b.csv"));
        QCOMPARE(ResultSaveWriter::localPath(QStringLiteral("/tmp/x.csv")), QStringLiteral("/tmp/x.csv"));
    }
};

QTEST_MAIN(TestDeviceListFile)
#include "tst_devicelistfile.moc"
