// ctest-label: core
#include "core/ConstantTables.h"

#include <QtTest>

class TestConstantTables : public QObject
{
    Q_OBJECT
private slots:
    void bands_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shortName");
        QTest::addColumn<QString>("shortName110");
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("polarization");
        QTest::addColumn<QString>("code");

        const QString none = QStringLiteral("---");
        const QString dvbs = QStringLiteral("DVBS/S2");
        const QString isdbs = QStringLiteral("ISDBS/S3");
        const QString h = QStringLiteral("水平");
        const QString v = QStringLiteral("垂直");
        QTest::newRow("0") << 0 << "地デジ" << "地デジ" << "地デジ" << "ISDBT" << none << "ISDBT";
        QTest::newRow("1") << 1 << "BS右旋" << "BS" << "BS" << isdbs << "右旋" << "BS_R";
        QTest::newRow("2") << 2 << "BS左旋" << "BS" << "BS" << isdbs << "左旋" << "BS_L";
        QTest::newRow("3") << 3 << "CS右旋" << "CS" << "110°CS" << isdbs << "右旋" << "CS_R";
        QTest::newRow("4") << 4 << "CS左旋" << "CS" << "110°CS" << isdbs << "左旋" << "CS_L";
        QTest::newRow("5") << 5 << "CATV" << "CATV" << "CATV" << "ISDBC" << none << "CATV";
        QTest::newRow("6") << 6 << "スカパー！光" << "スカパー!光" << "スカパー！光" << "OPTICAST" << none << "OPTICAST";
        QTest::newRow("7") << 7 << "CATV上り" << "CATV上り" << "CATV上り" << "CATV上り" << none << "UL";
        QTest::newRow("8") << 8 << "JCSAT-3A 水平" << "JCSAT-3A" << "JCSAT-3A" << dvbs << h << "JCSAT-3A_H";
        QTest::newRow("9") << 9 << "JCSAT-3A 垂直" << "JCSAT-3A" << "JCSAT-3A" << dvbs << v << "JCSAT-3A_V";
        QTest::newRow("10") << 10 << "JCSAT-4B 水平" << "JCSAT-4B" << "JCSAT-4B" << dvbs << h << "JCSAT-4B_H";
        QTest::newRow("11") << 11 << "JCSAT-4B 垂直" << "JCSAT-4B" << "JCSAT-4B" << dvbs << v << "JCSAT-4B_V";
        QTest::newRow("12") << 12 << "SCC-B 水平" << "SCC-B" << "SCC-B" << dvbs << h << "SCC-B_H";
        QTest::newRow("13") << 13 << "SCC-B 垂直" << "SCC-B" << "SCC-B" << dvbs << v << "SCC-B_V";
        QTest::newRow("14") << 14 << "SCC-C 水平" << "SCC-C" << "SCC-C" << dvbs << h << "SCC-C_H";
        QTest::newRow("15") << 15 << "SCC-C 垂直" << "SCC-C" << "SCC-C" << dvbs << v << "SCC-C_V";
        QTest::newRow("16") << 16 << "LTE" << "LTE" << "LTE" << "LTE" << none << "LTE";
        QTest::newRow("17") << 17 << "FM" << "FM" << "FM" << "FM" << none << "FM";
        QTest::newRow("18") << 18 << "PILOT" << "PILOT" << "PILOT" << "PILOT" << none << "PILOT";
    }

    void bands()
    {
        QFETCH(int, band);
        QFETCH(QString, name);
        QFETCH(QString, shortName);
        QFETCH(QString, shortName110);
        QFETCH(QString, standard);
        QFETCH(QString, polarization);
        QFETCH(QString, code);

        QCOMPARE(BandNameTable.value(band), name);
        QCOMPARE(BandShortNameTable.value(band), shortName);
        QCOMPARE(BandShortName110Table.value(band), shortName110);
        QCOMPARE(BroadcastStandardTable.value(band), standard);
        QCOMPARE(PolarizationTable.value(band), polarization);
        // The band code maps back to the band, and exactly one band has this code.
        QCOMPARE(int(BandCodeTable.value(code)), band);
        QCOMPARE(BandCodeTable.keys(BandTabIndex(band)), QStringList{code});
    }

    void tableSizes()
    {
        for (const auto *table : {&BandNameTable, &BandShortNameTable, &BandShortName110Table,
                                  &BroadcastStandardTable, &PolarizationTable}) {
            QCOMPARE(table->size(), int(BandCount));
            QCOMPARE(table->firstKey(), 0);
            QCOMPARE(table->lastKey(), 18);
        }
        QCOMPARE(BandCodeTable.size(), int(BandCount));
        QCOMPARE(WorkLogFormatTable.size(), 17);
        QCOMPARE(ScreenNameTable.size(), 8);
    }

    // The look-alike characters are part of the texts: compare code points, not glyphs.
    void exactCharacters()
    {
        QCOMPARE(BandShortNameTable.value(BandSkyperfectv).at(4), QChar(0x0021));
        QCOMPARE(BandNameTable.value(BandSkyperfectv).at(4), QChar(0xFF01));
        QCOMPARE(BandShortName110Table.value(BandSkyperfectv).at(4), QChar(0xFF01));
        QCOMPARE(BandShortName110Table.value(BandCsRight).at(3), QChar(0x00B0));
        QCOMPARE(BandNameTable.value(BandSccCVertical).at(5), QChar(0x0020));
        QCOMPARE(ScreenNameTable.value(ScreenResultIndividual).at(4), QChar(0x0020));
        QCOMPARE(PolarizationTable.value(BandTerrestrial), QString::fromLatin1("---"));
    }

    void absentKeys()
    {
        QCOMPARE(BandNameTable.value(19), QString());
        QCOMPARE(BandNameTable.value(-1), QString());
        QCOMPARE(int(BandCodeTable.value(QStringLiteral("XYZ"))), 0);
        QCOMPARE(int(BandCodeTable.value(QStringLiteral("isdbt"))), 0);
        QCOMPARE(ScreenNameTable.value(ScreenNone), QString());
        QCOMPARE(WorkLogFormatTable.value(17), QString());
        QCOMPARE(LocalFrequencyTextTable.value(10000000), QString());
        QCOMPARE(StandardCodeTable.value(QStringLiteral("ISDBS")), 0);
        QCOMPARE(MerCnrTable.value(QString()), 0);
        QCOMPARE(ConstantTables::lookup(ScreenNameTable, 1), QString());
        QCOMPARE(ConstantTables::lookup(ScreenNameTable, ScreenHome), QStringLiteral("ホーム画面"));
        QCOMPARE(int(ConstantTables::lookup(BandCodeTable, QStringLiteral("UL"))), 7);
        QCOMPARE(ConstantTables::lookup(MerCnrTable, QStringLiteral("nope")), 0);
        // A lookup never grows a table.
        QCOMPARE(ScreenNameTable.size(), 8);
        QCOMPARE(BandCodeTable.size(), 19);
    }

    void workLogFormats_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("format");
        QTest::newRow("0") << 0 << "%1へ遷移";
        QTest::newRow("1") << 1 << "機器No.%1,追加";
        QTest::newRow("2") << 2 << "機器No.%1,名称を変更";
        QTest::newRow("3") << 3 << "機器No.%1,IPアドレスを変更";
        QTest::newRow("4") << 4 << "機器No.%1,同軸/光を変更";
        QTest::newRow("5") << 5 << "機器No.%1,光波長を変更";
        QTest::newRow("6") << 6 << "機器No.%1,サイクル間隔を変更";
        QTest::newRow("7") << 7 << "機器No.%1,アラート有効時間を変更";
        QTest::newRow("8") << 8 << "設定を適用";
        QTest::newRow("9") << 9 << "機器No.%1,測定チャンネル設定を変更";
        QTest::newRow("10") << 10 << "システム設定を変更";
        QTest::newRow("11") << 11 << "機器No.%1,測定を%2";
        QTest::newRow("12") << 12 << "機器No.%1,%2状態で終了";
        QTest::newRow("13") << 13 << "機器No.%1,自動で測定開始";
        QTest::newRow("14") << 14 << "機器No.%1,エラーを解除,%2,%3";
        QTest::newRow("15") << 15 << "アプリケーションを起動";
        QTest::newRow("16") << 16 << "アプリケーションを終了";
    }

    void workLogFormats()
    {
        QFETCH(int, kind);
        QFETCH(QString, format);
        QCOMPARE(WorkLogFormatTable.value(kind), format);
    }

    void screenNames_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("name");
        QTest::newRow("main frame") << int(ScreenMainFrame) << "メインフレーム画面";
        QTest::newRow("home") << int(ScreenHome) << "ホーム画面";
        QTest::newRow("result list") << int(ScreenMeasurementResult) << "測定結果 一覧画面";
        QTest::newRow("device setting") << int(ScreenDeviceSetting) << "機器設定画面";
        QTest::newRow("channel setting") << int(ScreenChannelSetting) << "測定チャンネル設定画面";
        QTest::newRow("channel details") << int(ScreenChannelDetails) << "チャンネル詳細画面";
        QTest::newRow("single channel") << int(ScreenResultIndividual) << "測定結果 選択チャンネル詳細画面";
        QTest::newRow("system setting") << int(ScreenSystemSetting) << "システム設定画面";
    }

    void screenNames()
    {
        QFETCH(int, screen);
        QFETCH(QString, name);
        QCOMPARE(ScreenNameTable.value(screen), name);
    }

    void smallTables()
    {
        QCOMPARE(StartStopTextTable.value(true), QStringLiteral("開始"));
        QCOMPARE(StartStopTextTable.value(false), QStringLiteral("停止"));

        const QMap<int, QString> localFrequencies = {
            {0, "---"}, {9505000, "9.505"}, {10678000, "10.678"}, {11200000, "11.2"}, {11300000, "11.3"}};
        QCOMPARE(LocalFrequencyTextTable, localFrequencies);

        QCOMPARE(StandardCodeTable, (QMap<QString, int>{{"ISDBT", 0}, {"ISDBC", 3}}));
        QCOMPARE(MerCnrTable, (QMap<QString, int>{{"MER", 0}, {"CNR", 1}}));
    }
};

QTEST_GUILESS_MAIN(TestConstantTables)
#include "tst_constanttables.moc"
