// ctest-label: core
#include "core/ValueFormat.h"

#include <QtTest>

#include <thread>
#include <vector>

class TestValueFormat : public QObject
{
    Q_OBJECT
private slots:
    void bandDisplayName_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("shortName");
        QTest::addColumn<QString>("longName");
        QTest::newRow("0") << 0 << "地デジ" << "地上デジタル";
        QTest::newRow("1") << 1 << "BS" << "BS";
        QTest::newRow("2") << 2 << "BS" << "BS";
        QTest::newRow("3") << 3 << "110°CS" << "110°CS";
        QTest::newRow("4") << 4 << "110°CS" << "110°CS";
        QTest::newRow("5") << 5 << "CATV" << "CATV";
        QTest::newRow("6") << 6 << "スカパー！光" << "スカパー！プレミアムサービス光";
        QTest::newRow("7") << 7 << "CATV上り" << "CATV上り";
        QTest::newRow("8") << 8 << "JCSAT-3A" << "JCSAT-3A";
        QTest::newRow("9") << 9 << "JCSAT-3A" << "JCSAT-3A";
        QTest::newRow("10") << 10 << "JCSAT-4B" << "JCSAT-4B";
        QTest::newRow("11") << 11 << "JCSAT-4B" << "JCSAT-4B";
        QTest::newRow("12") << 12 << "SCC-B" << "SCC-B";
        QTest::newRow("13") << 13 << "SCC-B" << "SCC-B";
        QTest::newRow("14") << 14 << "SCC-C" << "SCC-C";
        QTest::newRow("15") << 15 << "SCC-C" << "SCC-C";
        QTest::newRow("16") << 16 << "LTE" << "LTE";
        QTest::newRow("17") << 17 << "FM" << "FM";
        QTest::newRow("18") << 18 << "PILOT" << "PILOT";
        QTest::newRow("19 absent") << 19 << "" << "";
        QTest::newRow("-1 absent") << -1 << "" << "";
    }

    void bandDisplayName()
    {
        QFETCH(int, band);
        QFETCH(QString, shortName);
        QFETCH(QString, longName);
        QCOMPARE(ValueFormat::bandDisplayName(band, true), shortName);
        QCOMPARE(ValueFormat::bandDisplayName(band, false), longName);
    }

    void bandNamesDiffer_data()
    {
        QTest::addColumn<int>("band1");
        QTest::addColumn<int>("band2");
        QTest::addColumn<bool>("differ");
        QTest::newRow("BS polarisations") << 1 << 2 << false;
        QTest::newRow("CS polarisations") << 3 << 4 << false;
        QTest::newRow("JCSAT-3A polarisations") << 8 << 9 << false;
        QTest::newRow("SCC-C polarisations") << 15 << 14 << false;
        QTest::newRow("same band") << 5 << 5 << false;
        QTest::newRow("terrestrial, CATV") << 0 << 5 << true;
        QTest::newRow("JCSAT-3A, JCSAT-4B") << 8 << 10 << true;
        QTest::newRow("BS, CS") << 2 << 3 << true;
        QTest::newRow("band, absent") << 18 << 19 << true;
        QTest::newRow("both absent") << 19 << 42 << false;
    }

    void bandNamesDiffer()
    {
        QFETCH(int, band1);
        QFETCH(int, band2);
        QFETCH(bool, differ);
        QCOMPARE(ValueFormat::bandNamesDiffer(band1, band2), differ);
    }

    void frequencyText_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<quint32>("kHz");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<QString>("text");
        QTest::newRow("terrestrial 3 dp") << 0 << 473142u << false << "473.142";
        QTest::newRow("terrestrial whole") << 0 << 473142u << true << "473";
        QTest::newRow("BS 2 dp") << 1 << 1049480u << false << "1049.48";
        QTest::newRow("CS 2 dp") << 4 << 1613000u << false << "1613.00";
        QTest::newRow("CATV 3 dp") << 5 << 93143u << false << "93.143";
        QTest::newRow("optical 3 dp") << 6 << 1000000u << false << "1000.000";
        QTest::newRow("upstream 2 dp") << 7 << 55250u << false << "55.25";
        QTest::newRow("JCSAT 2 dp") << 9 << 1276000u << false << "1276.00";
        QTest::newRow("SCC 2 dp") << 15 << 1300500u << false << "1300.50";
        QTest::newRow("LTE no point") << 16 << 771000u << false << "771";
        QTest::newRow("FM 1 dp") << 17 << 80000u << false << "80.0";
        // In single precision 76.55 lies just above the half (double would give 76.5).
        QTest::newRow("FM 1 dp, float rounding") << 17 << 76550u << false << "76.6";
        QTest::newRow("pilot 2 dp") << 18 << 450000u << false << "450.00";
        QTest::newRow("absent band 2 dp") << 19 << 473142u << false << "473.14";
        QTest::newRow("zero") << 0 << 0u << false << "0.000";
        QTest::newRow("whole rounds") << 1 << 1049500u << true << "1050";
    }

    void frequencyText()
    {
        QFETCH(int, band);
        QFETCH(quint32, kHz);
        QFETCH(bool, whole);
        QFETCH(QString, text);
        QCOMPARE(ValueFormat::frequencyText(band, kHz, whole), text);
    }

    void localFrequencyText_data()
    {
        QTest::addColumn<quint32>("kHz");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0u << "---";
        QTest::newRow("9505000") << 9505000u << "9.505";
        QTest::newRow("10678000") << 10678000u << "10.678";
        QTest::newRow("11200000") << 11200000u << "11.2";
        QTest::newRow("11300000") << 11300000u << "11.3";
        QTest::newRow("multiple of 10000") << 10750000u << "10.75";
        QTest::newRow("multiple of 1000000") << 11000000u << "11.0";
        QTest::newRow("not a multiple of 10000") << 10601000u << "10.601";
        QTest::newRow("small") << 5u << "0.000";
    }

    void localFrequencyText()
    {
        QFETCH(quint32, kHz);
        QFETCH(QString, text);
        QCOMPARE(ValueFormat::localFrequencyText(kHz), text);
    }

    void localFrequencyCode_data()
    {
        QTest::addColumn<int>("kHz");
        QTest::addColumn<QString>("code");
        QTest::newRow("10678000") << 10678000 << "0";
        QTest::newRow("11200000") << 11200000 << "1";
        QTest::newRow("11300000") << 11300000 << "2";
        QTest::newRow("9505000") << 9505000 << "";
        QTest::newRow("0") << 0 << "";
        QTest::newRow("-1") << -1 << "";
    }

    void localFrequencyCode()
    {
        QFETCH(int, kHz);
        QFETCH(QString, code);
        QCOMPARE(ValueFormat::localFrequencyCode(kHz), code);
    }

    void isIpAddressText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ip");
        QTest::newRow("a.b.c.d") << "192.168.1.10" << true;
        QTest::newRow("with port") << "127.0.0.2:1161" << true;
        QTest::newRow("digits not checked") << "999.x.y.z" << true;
        QTest::newRow("consecutive dots") << "a..." << true;
        QTest::newRow("two dots") << "192.168.1" << false;
        QTest::newRow("leading dot") << ".1.2.3" << false;
        QTest::newRow("no dot") << "localhost" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("default address") << "0.0.0.0" << true;
    }

    void isIpAddressText()
    {
        QFETCH(QString, text);
        QFETCH(bool, ip);
        QCOMPARE(ValueFormat::isIpAddressText(text), ip);
    }

    void normalizeTimeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("fields");
        QTest::addColumn<QString>("result");
        const QString def = QStringLiteral("2:00:00");
        QTest::newRow("kept as written") << "3:5:7" << 3 << "3:5:7";
        QTest::newRow("leading zeros kept") << "03:05:07" << 3 << "03:05:07";
        QTest::newRow("extra field dropped") << "1:2:3:4" << 3 << "1:2:3";
        QTest::newRow("hour 24 accepted") << "24:00:00" << 3 << "24:00:00";
        QTest::newRow("hour 25") << "25:00:00" << 3 << def;
        QTest::newRow("minute 60") << "24:60:00" << 3 << def;
        QTest::newRow("minute 60 b") << "3:60:00" << 3 << def;
        QTest::newRow("second 60") << "3:00:60" << 3 << def;
        QTest::newRow("negative hour") << "-1:00:00" << 3 << def;
        QTest::newRow("two fields of three") << "3:00" << 3 << def;
        QTest::newRow("empty") << "" << 3 << def;
        QTest::newRow("letters read as 0") << "ab:cd:ef" << 3 << "ab:cd:ef";
        QTest::newRow("empty parts read as 0") << "::" << 3 << "::";
        QTest::newRow("two fields") << "23:59" << 2 << "23:59";
        QTest::newRow("two fields, second ignored") << "23:59:99" << 2 << "23:59";
        QTest::newRow("two fields, minute 60") << "23:60" << 2 << def;
    }

    void normalizeTimeText()
    {
        QFETCH(QString, text);
        QFETCH(int, fields);
        QFETCH(QString, result);
        QCOMPARE(ValueFormat::normalizeTimeText(text, QStringLiteral("2:00:00"), fields), result);
    }

    // The tables behind frequencyText and localFrequencyCode are built on first use, which
    // may happen in several worker threads at once.
    void firstUseFromManyThreads()
    {
        std::vector<QString> results(16);
        std::vector<std::thread> threads;
        for (int i = 0; i < 16; ++i) {
            threads.emplace_back([i, &results] {
                results[size_t(i)] = ValueFormat::frequencyText(i % 19, 473142u, false)
                                     + ValueFormat::localFrequencyCode(11300000)
                                     + ValueFormat::bandDisplayName(0, true);
            });
        }
        for (auto &thread : threads)
            thread.join();
        for (const QString &result : results)
            QVERIFY2(result.endsWith(QStringLiteral("2地デジ")), qPrintable(result));
    }
};

QTEST_GUILESS_MAIN(TestValueFormat)
#include "tst_valueformat.moc"
