// ctest-label: frame
// A whole settings folder as Windows leaves it (CR LF), read the way start-up loading does:
// registration first, then each device's plan and thresholds by its position, with a file
// missing here and there.
#include "monitor/LevelChecker.h"
#include "storage/AlertSettingFile.h"
#include "storage/ChannelSettingFile.h"
#include "storage/RegistrationFile.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

QByteArray crlf(QByteArray text)
{
    return text.replace("\n", "\r\n");
}

} // namespace

class TestSettingFilesRoot : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(root.isValid());
        qputenv("NRT52_ROOT", root.path().toUtf8());
        QDir(root.path() + "/InternalReadOnly").removeRecursively();
    }

    void loadRoot_data()
    {
        QTest::addColumn<QByteArray>("registration");
        QTest::addColumn<QString>("wavelength3");
        QTest::addColumn<QString>("merCn1");

        // Device 1 on its own port, device 2 with a "No" that is no number, device 3 short of its
        // last columns.
        QTest::newRow("14 columns")
            << QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
                              "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)\n"
                              "1,光受信点,127.0.0.2:16161,光,連続,常時,常時,1310,SN1,MAC1,FW1,0,CNR,MER\n"
                              "\n"
                              "No2,衛星,127.0.0.3,同軸,5分,08:00,20:00,1550,SN2,MAC2,FW2,0,MER,CNR\n"
                              "3,無音,127.0.0.4,同軸,15分,常時,常時,1625,---,---,---\n")
                   .toUtf8()
            << "1625" << "CNR";

        QTest::newRow("11 columns")
            << QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,"
                              "シリアルナンバー,MACアドレス,バージョン,測定状態\n"
                              "1,光受信点,127.0.0.2:16161,光,連続,常時,常時,SN1,MAC1,FW1,0\n"
                              "\n"
                              "No2,衛星,127.0.0.3,同軸,5分,08:00,20:00,SN2,MAC2,FW2,0\n"
                              "3,無音,127.0.0.4,同軸,15分,常時,常時,---,---,---,0\n")
                   .toUtf8()
            << "1550" << "MER";
    }

    void loadRoot()
    {
        QFETCH(QByteArray, registration);
        QFETCH(QString, wavelength3);
        QFETCH(QString, merCn1);

        QVERIFY(TestFiles::writeBytes(RegistrationFile::filePath(), crlf(registration)));
        QVERIFY(TestFiles::writeBytes(ChannelSettingFile::filePath(1),
                           crlf("'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n"
                                "0,13,473143,0,0,0,1\n"
                                "5,C24,233000,3,0,0,1\n"
                                "5,8,191000,3,0,0,1\n"
                                "0,14,479143,0,0,0,0\n")));
        QVERIFY(TestFiles::writeBytes(ChannelSettingFile::filePath(2),
                           crlf("'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n"
                                "8,JC-1,11727480,0,10678000,1,1\n"
                                "short\n")));
        // Device 3 has no plan; device 2 has no thresholds.
        QVERIFY(TestFiles::writeBytes(AlertSettingFile::filePath(1),
                           crlf("'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER,HikariLevelMin,HikariLevelMax,ConvertCNR\n"
                                "0,13,47.0,90.0,20.0,2.0E-4,-10.0,0.0,20.0\n"
                                "5,C24,<50.0,>85.0,30.0,1.0E-5,-10.0,0.0,21.0\n"
                                "5,8,50.0,85.0,30.0,1.0E-5\n")));
        QVERIFY(TestFiles::writeBytes(AlertSettingFile::filePath(3),
                           crlf("'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER\n"
                                "0,20,47.0,90.0,20.0,2.0E-4\n")));

        QVector<RegistrationRecord> records;
        QVERIFY(RegistrationFile::read(RegistrationFile::filePath(), &records));
        QCOMPARE(records.size(), 3);

        // Registered in order; each record goes to the device made from it.
        std::vector<std::unique_ptr<LevelChecker>> devices;
        for (const RegistrationRecord &record : qAsConst(records)) {
            const quint32 address = record.packedAddress();
            devices.emplace_back(new LevelChecker(record.deviceNo, record.name, &address,
                                                  record.inputTypeCode(), QString(),
                                                  record.cycleIntervalCode(), record.startTime,
                                                  record.endTime, record.wavelengthCode()));
            devices.back()->setPort(record.port);
            RegistrationFile::applyTo(devices.back().get(), record);
        }
        QStringList missingPlans;
        QStringList missingAlerts;
        for (size_t i = 0; i < devices.size(); ++i) {
            const int number = int(i) + 1;
            MeasuredChannelPlan plan;
            if (ChannelSettingFile::readMeasured(ChannelSettingFile::filePath(number), &plan)) {
                ChannelSettingFile::applyTo(devices[i].get(), plan);
                devices[i]->setSettingFileName(ChannelSettingFile::fileName(number));
            } else {
                missingPlans << QString::number(number);
            }
            QVector<AlertSettingRow> thresholds;
            if (AlertSettingFile::read(AlertSettingFile::filePath(number), &thresholds))
                AlertSettingFile::applyTo(devices[i].get(), thresholds);
            else
                missingAlerts << QString::number(number);
        }
        QCOMPARE(missingPlans, QStringList { "3" });
        QCOMPARE(missingAlerts, QStringList { "2" });

        LevelChecker &optical = *devices[0];
        QCOMPARE(optical.deviceNo(), 1);
        QCOMPARE(optical.name(), QStringLiteral("光受信点"));
        QCOMPARE(optical.ipAddressText(), QStringLiteral("127.0.0.2"));
        QCOMPARE(optical.port(), 16161);
        QCOMPARE(optical.inputTypeText(), QStringLiteral("光"));
        QCOMPARE(optical.terrestrialMerCnText(), merCn1);
        QCOMPARE(optical.serialNumber(), QStringLiteral("SN1"));
        QCOMPARE(optical.measurementState(), 0);
        QCOMPARE(optical.channelSettingCount(), 3);
        QCOMPARE(optical.c24FrequencyType(), 1);
        QCOMPARE(optical.ch8FrequencyType(), 1);
        QCOMPARE(optical.settingFileName(), QStringLiteral("1.csv"));
        QCOMPARE(optical.alertSettingCount(), 3);
        QCOMPARE(optical.alertSetting(1).levelMin, QStringLiteral("50.0"));
        QCOMPARE(optical.alertSetting(1).levelMax, QStringLiteral("85.0"));
        QCOMPARE(optical.alertSetting(2).convertCnr, QStringLiteral("21.0"));

        // "No2" is the second device.
        LevelChecker &satellite = *devices[1];
        QCOMPARE(satellite.deviceNo(), 2);
        QCOMPARE(satellite.name(), QStringLiteral("衛星"));
        QCOMPARE(satellite.port(), 161);
        QCOMPARE(satellite.serialNumber(), QStringLiteral("SN2"));
        QCOMPARE(satellite.cycleIntervalText(), QStringLiteral("5分"));
        QCOMPARE(satellite.channelSettingCount(), 1);
        QCOMPARE(satellite.channelSetting(0).frequency, 1049480);
        // Its plan has no C24 or channel 8: the first device's variants do not carry over.
        QCOMPARE(satellite.c24FrequencyType(), 0);
        QCOMPARE(satellite.ch8FrequencyType(), 0);
        QCOMPARE(satellite.alertSettingCount(), 0);

        LevelChecker &silent = *devices[2];
        QCOMPARE(silent.deviceNo(), 3);
        QCOMPARE(silent.wavelengthText(), wavelength3);
        QCOMPARE(silent.measurementState(), 0);
        QCOMPARE(silent.channelSettingCount(), 0);
        QCOMPARE(silent.settingFileName(), QString());
        QCOMPARE(silent.alertSettingCount(), 1);
        QCOMPARE(silent.alertSetting(0).hikariLevelMin, QStringLiteral("-10.0"));
        QCOMPARE(silent.alertSetting(0).convertCnr, QStringLiteral("21.0"));
    }

    void missingRoot()
    {
        QVector<RegistrationRecord> records;
        QVERIFY(!RegistrationFile::read(RegistrationFile::filePath(), &records));
        MeasuredChannelPlan plan;
        QVERIFY(!ChannelSettingFile::readMeasured(ChannelSettingFile::filePath(1), &plan));
        QVector<AlertSettingRow> thresholds;
        QVERIFY(!AlertSettingFile::read(AlertSettingFile::filePath(1), &thresholds));
    }

private:
    QTemporaryDir root;
};

QTEST_GUILESS_MAIN(TestSettingFilesRoot)
#include "tst_settingfilesroot.moc"
