// ctest-label: frame
// The registration file "DeviceRegistSetting.csv": reading both layouts and damaged files,
// writing byte for byte, keeping the port, and replacing the file atomically.
#include "monitor/LevelChecker.h"
#include "storage/DeviceChoiceTables.h"
#include "storage/RegistrationFile.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

const QByteArray kHeader14 = QStringLiteral(
    "No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
    "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)").toUtf8();
const QByteArray kHeader11 = QStringLiteral(
    "No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,"
    "シリアルナンバー,MACアドレス,バージョン,測定状態").toUtf8();

// One record as a line of its fields, so that a table row can state a whole record.
QString summary(const RegistrationRecord &r)
{
    return QStringList { QString::number(r.deviceNo), r.name, r.ipAddress, QString::number(r.port),
                         r.inputType, r.cycleInterval, r.startTime, r.endTime, r.wavelength,
                         r.serialNumber, r.macAddress, r.firmwareVersion,
                         QString::number(r.measurementState), r.terrestrialMerCn, r.catvMerCn }
        .join(QLatin1Char('|'));
}

QStringList summaries(const QVector<RegistrationRecord> &records)
{
    QStringList list;
    for (const RegistrationRecord &record : records)
        list << summary(record);
    return list;
}

RegistrationRecord record(const QString &name, const QString &address, int port, int state)
{
    RegistrationRecord r;
    r.name = name;
    r.ipAddress = address;
    r.port = port;
    r.inputType = QStringLiteral("同軸");
    r.cycleInterval = QStringLiteral("5分");
    r.startTime = QStringLiteral("常時");
    r.endTime = QStringLiteral("常時");
    r.wavelength = QStringLiteral("1550");
    r.serialNumber = QStringLiteral("---");
    r.macAddress = QStringLiteral("---");
    r.firmwareVersion = QStringLiteral("---");
    r.measurementState = state;
    return r;
}

} // namespace

class TestRegistrationFile : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(root.isValid());
        qputenv("NRT52_ROOT", root.path().toUtf8());
    }

    void filePathLiesInTheSettingsFolder()
    {
        QCOMPARE(RegistrationFile::filePath(),
                 root.path() + "/InternalReadOnly/CheckerSettings/DeviceRegistSetting.csv");
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("current layout, CR LF, port kept")
            << kHeader14 + "\r\n"
               "1,受信点A,192.168.0.10:1161,光,15分,08:00,17:30,1310,SN1,00:11:22:33:44:55,1.02,0,CNR,MER\r\n"
               "2,受信点B,192.168.0.11,同軸,連続,常時,常時,1550,---,---,---,1,MER,CNR\r\n"
            << QStringList {
                   "1|受信点A|192.168.0.10|1161|光|15分|08:00|17:30|1310|SN1|00:11:22:33:44:55|1.02|0|CNR|MER",
                   "2|受信点B|192.168.0.11|161|同軸|連続|常時|常時|1550|---|---|---|1|MER|CNR" };

        QTest::newRow("older 11-column layout")
            << kHeader11 + "\r\n"
               "1,旧A,10.0.0.5,光,60分,常時,常時,SN9,AA:BB,2.00,0\r\n"
            << QStringList { "1|旧A|10.0.0.5|161|光|60分|常時|常時|1550|SN9|AA:BB|2.00|0|MER|MER" };

        QTest::newRow("header of a longer line whose eighth field is the serial")
            << kHeader11 + ",x,y,z\n"
               "1,N,10.0.0.5,同軸,連続,常時,常時,SN,MAC,FW,1,CNR,CNR\n"
            << QStringList { "1|N|10.0.0.5|161|同軸|連続|常時|常時|1550|SN|MAC|FW|1|MER|MER" };

        QTest::newRow("LF, blank and short lines anywhere, no last line end")
            << "\n" + kHeader14 + "\n"
               "\n"
               "garbage,line\n"
               "1,A,10.0.0.1,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"
               "   \n"
               "1,2,3,4,5,6,7,8,9,10\n"
               "2,B,10.0.0.2,同軸,連続,常時,常時,1550,---,---,---,0,MER,MER"
            // Short lines after the header are damaged devices that keep their numbers.
            << QStringList { "1|line|0.0.0.0|161|同軸|連続|常時|常時|1550||||1|MER|MER",
                             "2|A|10.0.0.1|161|同軸|連続|常時|常時|1550|---|---|---|1|MER|MER",
                             "3|2|0.0.0.0|161|同軸|連続|常時|常時|1550||||1|MER|MER",
                             "4|B|10.0.0.2|161|同軸|連続|常時|常時|1550|---|---|---|0|MER|MER" };

        QTest::newRow("devices numbered by position whatever No says")
            << kHeader14 + "\n"
               "abc,A,10.0.0.1,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"
               "7,B,10.0.0.2,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"
               "-3,C,10.0.0.3,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"
            << QStringList { "1|A|10.0.0.1|161|同軸|連続|常時|常時|1550|---|---|---|1|MER|MER",
                             "2|B|10.0.0.2|161|同軸|連続|常時|常時|1550|---|---|---|1|MER|MER",
                             "3|C|10.0.0.3|161|同軸|連続|常時|常時|1550|---|---|---|1|MER|MER" };

        QTest::newRow("line without No keeps its number, empty name is a name")
            << kHeader14 + "\n"
               ",A,10.0.0.1,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"
               "2,,10.0.0.2,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"
            << QStringList { "1|A|0.0.0.0|161|同軸|連続|常時|常時|1550||||1|MER|MER",
                             "2||10.0.0.2|161|同軸|連続|常時|常時|1550|---|---|---|1|MER|MER" };

        QTest::newRow("current layout cut short reads empty fields")
            << kHeader14 + "\n"
               "1,A,10.0.0.1,光,5分,常時,常時,1490,SN,MAC,FW\n"
               "2,B,10.0.0.2,光,5分,常時,常時,1490,SN,MAC,FW,1\n"
            << QStringList { "1|A|10.0.0.1|161|光|5分|常時|常時|1490|SN|MAC|FW|0||",
                             "2|B|10.0.0.2|161|光|5分|常時|常時|1490|SN|MAC|FW|1||" };

        QTest::newRow("address forms")
            << kHeader14 + "\n"
               "1,A,:1161,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"
               "2,B,10.1,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"
               "3,C,300.1.2.3.4,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"
               "4,D,10.0.0.4:abc,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"
               "5,E,x.y.z.w,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"
               "6,F,127.0.0.2:16100,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"
            // Addresses and ports the device setting screen refuses are not taken, and are
            // not altered into some other address either.
            << QStringList { "1|A|0.0.0.0|161|同軸|連続|常時|常時|1550|---|---|---|1|MER|MER",
                             "2|B|0.0.0.0|161|同軸|連続|常時|常時|1550|---|---|---|1|MER|MER",
                             "3|C|0.0.0.0|161|同軸|連続|常時|常時|1550|---|---|---|1|MER|MER",
                             "4|D|0.0.0.0|161|同軸|連続|常時|常時|1550|---|---|---|1|MER|MER",
                             "5|E|0.0.0.0|161|同軸|連続|常時|常時|1550|---|---|---|1|MER|MER",
                             "6|F|127.0.0.2|16100|同軸|連続|常時|常時|1550|---|---|---|1|MER|MER" };

        QTest::newRow("name with a comma shifts its line")
            << kHeader14 + "\n"
               "1,A,B,10.0.0.1,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"
            << QStringList { "1|A|0.0.0.0|161|10.0.0.1|同軸|連続|常時|常時|1550|---|---|1|1|MER" };

        QTest::newRow("byte-order mark")
            << "\xEF\xBB\xBF" + kHeader14 + "\n"
               "1,A,10.0.0.1,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n"
            << QStringList { "1|A|10.0.0.1|161|同軸|連続|常時|常時|1550|---|---|---|1|MER|MER" };

        QTest::newRow("header only") << kHeader14 + "\n" << QStringList();
        QTest::newRow("empty file") << QByteArray() << QStringList();
    }

    void read()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, expected);
        QVERIFY(TestFiles::writeBytes(RegistrationFile::filePath(), content));

        QVector<RegistrationRecord> records;
        QVERIFY(RegistrationFile::read(RegistrationFile::filePath(), &records));
        QCOMPARE(summaries(records), expected);
    }

    void readStopsAtFiftyDevices()
    {
        QByteArray content = kHeader14 + "\n";
        for (int i = 1; i <= 52; ++i)
            content += QByteArray::number(i) + ",D" + QByteArray::number(i)
                       + ",10.0.0.1,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n";
        QVERIFY(TestFiles::writeBytes(RegistrationFile::filePath(), content));

        QVector<RegistrationRecord> records;
        QVERIFY(RegistrationFile::read(RegistrationFile::filePath(), &records));
        QCOMPARE(records.size(), RegistrationFile::MaxDevices);
        QCOMPARE(records.last().name, QStringLiteral("D50"));
    }

    void missingFileReadsNothing()
    {
        QVector<RegistrationRecord> records { RegistrationRecord() };
        QVERIFY(!RegistrationFile::read(root.path() + "/nowhere/DeviceRegistSetting.csv", &records));
        QVERIFY(records.isEmpty());
    }

    void codes_data()
    {
        QTest::addColumn<QString>("inputType");
        QTest::addColumn<QString>("cycle");
        QTest::addColumn<QString>("wavelength");
        QTest::addColumn<QString>("merCn");
        QTest::addColumn<QList<int>>("codes");

        QTest::newRow("known texts") << "光" << "30分" << "1625" << "CNR" << QList<int> { 1, 3, 4, 1 };
        QTest::newRow("first entries") << "同軸" << "連続" << "1300" << "MER" << QList<int> { 0, 0, 0, 0 };
        QTest::newRow("empty texts") << "" << "" << "" << "" << QList<int> { -1, -1, -1, 0 };
        QTest::newRow("unknown texts") << "光ファイバ" << "10分" << "1600" << "SNR" << QList<int> { 0, 0, 0, 0 };
        QTest::newRow("written fall-back") << "---" << "連続" << "1550" << "MER" << QList<int> { 0, 0, 3, 0 };
    }

    void codes()
    {
        QFETCH(QString, inputType);
        QFETCH(QString, cycle);
        QFETCH(QString, wavelength);
        QFETCH(QString, merCn);
        QFETCH(QList<int>, codes);

        RegistrationRecord r;
        r.inputType = inputType;
        r.cycleInterval = cycle;
        r.wavelength = wavelength;
        r.terrestrialMerCn = merCn;
        r.catvMerCn = merCn;
        QCOMPARE((QList<int> { r.inputTypeCode(), r.cycleIntervalCode(), r.wavelengthCode(),
                               r.terrestrialMerCnCode() }),
                 codes);
        QCOMPARE(r.catvMerCnCode(), codes.at(3));
    }

    void choiceTextsOfCodes()
    {
        QCOMPARE(DeviceChoiceTables::textOf(cycleIntervalMap, 2), QStringLiteral("15分"));
        QCOMPARE(DeviceChoiceTables::textOf(hikariWaveLengthMap, 4), QStringLiteral("1625"));
        QCOMPARE(DeviceChoiceTables::textOf(inputTypeMap, 7), QString());
    }

    void addressBytesInMemoryOrder()
    {
        RegistrationRecord r;
        r.ipAddress = QStringLiteral("192.168.0.200");
        const std::array<quint8, 4> expected { 192, 168, 0, 200 };
        QVERIFY(r.addressBytes() == expected);
        const quint32 packed = r.packedAddress();
        LevelChecker device(1, QStringLiteral("A"), &packed, 0, QString(), 0, QString(), QString(), 3);
        QCOMPARE(device.ipAddressText(), QStringLiteral("192.168.0.200"));
    }

    void writeByteForByte_data()
    {
        QTest::addColumn<int>("portColumn");
        QTest::addColumn<QByteArray>("expected");

        const QByteArray header = kHeader14 + "\n";
        QTest::newRow("port only when not 161")
            << int(RegistrationFile::PortColumn::WhenNotDefault)
            << header + "1,受信点A,192.168.0.10,同軸,5分,常時,常時,1550,---,---,---,0,MER,MER\n"
                        "2,受信点B,127.0.0.2:1161,同軸,5分,常時,常時,1550,---,---,---,1,MER,MER\n"
                        "3,,0.0.0.0,同軸,5分,常時,常時,1550,---,---,---,1,MER,MER\n";
        QTest::newRow("port always")
            << int(RegistrationFile::PortColumn::Always)
            << header + "1,受信点A,192.168.0.10:161,同軸,5分,常時,常時,1550,---,---,---,0,MER,MER\n"
                        "2,受信点B,127.0.0.2:1161,同軸,5分,常時,常時,1550,---,---,---,1,MER,MER\n"
                        "3,,0.0.0.0:161,同軸,5分,常時,常時,1550,---,---,---,1,MER,MER\n";
    }

    void writeByteForByte()
    {
        QFETCH(int, portColumn);
        QFETCH(QByteArray, expected);

        QVector<RegistrationRecord> records { record("受信点A", "192.168.0.10", 161, 0),
                                              record("受信点B", "127.0.0.2", 1161, 1),
                                              record("", "0.0.0.0", 161, 1) };
        // The file numbers the devices by position.
        records[0].deviceNo = 9;
        QVERIFY(QDir().mkpath(QFileInfo(RegistrationFile::filePath()).absolutePath()));
        QVERIFY(RegistrationFile::write(RegistrationFile::filePath(), records,
                                        RegistrationFile::PortColumn(portColumn)));
        QCOMPARE(TestFiles::readBytes(RegistrationFile::filePath()), expected);
    }

    void writeNoDevices()
    {
        const QString path = root.path() + "/empty.csv";
        QVERIFY(RegistrationFile::write(path, {}));
        QCOMPARE(TestFiles::readBytes(path), kHeader14 + "\n");
    }

    void writtenFileReadsBack()
    {
        RegistrationRecord a = record("A", "10.0.0.1", 1161, 0);
        a.inputType = QStringLiteral("光");
        a.wavelength = QStringLiteral("1310");
        a.terrestrialMerCn = QStringLiteral("CNR");
        a.serialNumber = QStringLiteral("SN-1");
        RegistrationRecord b = record("B", "10.0.0.2", 161, 1);
        b.catvMerCn = QStringLiteral("CNR");
        const QString path = root.path() + "/roundtrip.csv";
        QVERIFY(RegistrationFile::write(path, { a, b }));

        QVector<RegistrationRecord> records;
        QVERIFY(RegistrationFile::read(path, &records));
        a.deviceNo = 1;
        b.deviceNo = 2;
        QCOMPARE(summaries(records), summaries({ a, b }));
    }

    // A device registered with a port and saved at close keeps its port.
    void devicePortSurvivesTheSave()
    {
        RegistrationRecord in = record("A", "127.0.0.2", 16161, 0);
        const quint32 address = in.packedAddress();
        LevelChecker device(1, in.name, &address, in.inputTypeCode(), QStringLiteral("1.csv"),
                            in.cycleIntervalCode(), in.startTime, in.endTime, in.wavelengthCode());
        device.setPort(in.port);
        in.terrestrialMerCn = QStringLiteral("CNR");
        RegistrationFile::applyTo(&device, in);

        const QString path = root.path() + "/device.csv";
        QVERIFY(RegistrationFile::write(path, { RegistrationFile::recordOf(device) }));
        QCOMPARE(TestFiles::readBytes(path),
                 kHeader14 + "\n1,A,127.0.0.2:16161,同軸,5分,常時,常時,1550,---,---,---,0,CNR,MER\n");
    }

    void applyToGivesIdentityModesAndState()
    {
        LevelChecker device(1, QStringLiteral("A"), nullptr, 0, QString(), 0, QString(), QString(), 3);
        RegistrationRecord r;
        r.serialNumber = QStringLiteral("SN");
        r.macAddress = QStringLiteral("MAC");
        r.firmwareVersion = QStringLiteral("FW");
        r.terrestrialMerCn = QStringLiteral("CNR");
        r.catvMerCn = QStringLiteral("XYZ");
        r.measurementState = 0;
        RegistrationFile::applyTo(&device, r);
        QCOMPARE(device.serialNumber(), QStringLiteral("SN"));
        QCOMPARE(device.macAddress(), QStringLiteral("MAC"));
        QCOMPARE(device.firmwareVersion(), QStringLiteral("FW"));
        QCOMPARE(device.terrestrialMerCnText(), QStringLiteral("CNR"));
        QCOMPARE(device.catvMerCnText(), QStringLiteral("MER"));
        QCOMPARE(device.measurementState(), 0);
        RegistrationFile::applyTo(nullptr, r);
    }

    void writeIntoMissingFolderFails()
    {
        // A regular file where the folder should be: not even root can create the file.
        const QString blocker = root.path() + "/blocker";
        QVERIFY(TestFiles::writeBytes(blocker, "x"));
        QVERIFY(!RegistrationFile::write(blocker + "/DeviceRegistSetting.csv", { record("A", "10.0.0.1", 161, 1) }));
        QVERIFY(!QFile::exists(blocker + "/DeviceRegistSetting.csv"));
        QCOMPARE(TestFiles::readBytes(blocker), QByteArray("x"));
    }

    // A write that fails half way (here: the file-size limit, as a full disk would) leaves
    // the old registration complete and no stray file next to it.
    void failedWriteKeepsTheOldFile()
    {
        const QString folder = root.path() + "/full";
        const QString path = folder + "/DeviceRegistSetting.csv";
        const QByteArray old = kHeader14 + "\n1,Old,10.0.0.1,同軸,連続,常時,常時,1550,---,---,---,1,MER,MER\n";
        QVERIFY(TestFiles::writeBytes(path, old));

        QVector<RegistrationRecord> many;
        for (int i = 0; i < 40; ++i)
            many << record(QStringLiteral("New%1").arg(i), "10.0.0.2", 161, 0);

        signal(SIGXFSZ, SIG_IGN);
        rlimit saved {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 512;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = RegistrationFile::write(path, many);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);

        QVERIFY(!written);
        QCOMPARE(TestFiles::readBytes(path), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList { "DeviceRegistSetting.csv" });
    }

private:
    QTemporaryDir root;
};

QTEST_GUILESS_MAIN(TestRegistrationFile)
#include "tst_registrationfile.moc"
