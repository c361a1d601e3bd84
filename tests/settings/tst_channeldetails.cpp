// ctest-label: settings
// The channel details screen in the real main window: the merge of the working plan with the
// thresholds, the row and bulk edits, the threshold texts, the validation of "完了", the
// pending files it writes, the leave check, and the faults it must not hide.
#include "DetailsHost.h"

#include "support/ResultListSetup.h"

namespace {

// Device 1's working copy: five measured channels of five kinds and one that is not measured.
const QByteArray WorkingRows = "0,13,473143,0,0,0,1\n"
                               "1,BS1,1049480,0,0,1,1\n"
                               "5,C13,111000,3,0,0,1\n"
                               "5,C14,117000,3,0,0,0\n"
                               "8,JD1,11727000,0,10678000,1,1\n"
                               "17,FM1,80000,0,0,0,1\n";

QStringList row(const char *a, const char *b, const char *c, const char *d, const char *e, const char *f,
                const char *g, const char *h, const char *i, const char *j, const char *k, const char *l,
                const char *m, const char *n)
{
    QStringList texts;
    for (const char *text : {a, b, c, d, e, f, g, h, i, j, k, l, m, n})
        texts.append(QString::fromUtf8(text));
    return texts;
}

// An edit row of band name and standard with thresholds that pass every check.
ChannelDetailsEditRow passingRow(const QString &bandName, const QString &standard)
{
    ChannelDetailsEditRow r;
    r.BandName = bandName;
    r.Broadband = standard;
    r.LevelMin = QStringLiteral("47.0");
    r.LevelMax = QStringLiteral("90.0");
    r.Mer = QStringLiteral("22.0");
    r.Ber = QStringLiteral("2.0E-4");
    r.HikariLevelMin = QStringLiteral("-10.0");
    r.HikariLevelMax = QStringLiteral("0.0");
    r.ConvCNR = QStringLiteral("20.0");
    return r;
}

} // namespace

class TestChannelDetails : public QObject
{
    Q_OBJECT

private:
    DetailsHost fx;

    // Opens device 1 from the device setting screen with the working copy above.
    void openDevice1(const QString &ofdm = QStringLiteral("MER"), const QString &catv = QStringLiteral("MER"))
    {
        QVERIFY(fx.writePlan(1, ChannelSettingFile::Copy::Working, WorkingRows));
        QVERIFY(fx.open(1, QStringLiteral("本社"), ScreenDeviceSetting, ofdm, catv));
        QCOMPARE(fx.topPageName(), QStringLiteral("ChannelDetails"));
    }

private slots:
    void initTestCase()
    {
        QmlMessageGuard::install();
        QVERIFY(fx.start());
        QVERIFY(fx.addDevice(QStringLiteral("本社")));
        QVERIFY(fx.addDevice(QStringLiteral("支社")));
    }

    void cleanup()
    {
        fx.closePopups();
        fx.goHome();
        for (int n = 1; n <= 2; ++n) {
            for (auto copy : {ChannelSettingFile::Copy::Committed, ChannelSettingFile::Copy::Working,
                              ChannelSettingFile::Copy::Pending})
                ChannelSettingFile::removeCopy(n, copy);
            for (auto copy : {AlertSettingFile::Copy::Committed, AlertSettingFile::Copy::Pending}) {
                QDir(fx.alertPath(n, copy)).removeRecursively();
                AlertSettingFile::removeCopy(n, copy);
            }
        }
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }

    void cleanupTestCase() { fx.host.reset(); }

    // --- Texts and checks ---

    void thresholdText_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("47") << 47.0f << "47.0";
        QTest::newRow("5") << 5.0f << "5.0";
        QTest::newRow("35") << 35.0f << "35.0";
        QTest::newRow("120") << 120.0f << "120.0";
        QTest::newRow("100") << 100.0f << "100.0";
        QTest::newRow("121") << 121.0f << "";
        QTest::newRow("20.5") << 20.5f << "20.5";
        QTest::newRow("100.5") << 100.5f << "100.5";
        QTest::newRow("0") << 0.0f << "---";
        QTest::newRow("-10") << -10.0f << "";
        QTest::newRow("0.125") << 0.125f << ".125";
        QTest::newRow("1000") << 1000.0f << "";
        QTest::newRow("7.25") << 7.25f << "7.25";
    }

    void thresholdText()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(ChannelDetailsViewModel::formatThresholdText(value), text);
    }

    void opticalTextChecks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("oneDecimal");
        QTest::addColumn<bool>("leadingMinus");
        QTest::newRow("-10.0") << "-10.0" << true << true;
        QTest::newRow("0.0") << "0.0" << true << true;
        QTest::newRow("5.5") << "5.5" << true << true;
        QTest::newRow("-5.0") << "-5.0" << true << true;
        QTest::newRow("-5") << "-5" << false << true;
        QTest::newRow("10") << "10" << false << true;
        QTest::newRow("10.55") << "10.55" << false << true;
        QTest::newRow(".5") << ".5" << false << true;
        QTest::newRow("1.2.3") << "1.2.3" << false << true;
        QTest::newRow("1-0.0") << "1-0.0" << true << false;
        QTest::newRow("--1.0") << "--1.0" << true << false;
        QTest::newRow("5.0-") << "5.0-" << false << false;
        QTest::newRow("empty") << "" << false << true;
    }

    void opticalTextChecks()
    {
        QFETCH(QString, text);
        QFETCH(bool, oneDecimal);
        QFETCH(bool, leadingMinus);
        QCOMPARE(ChannelDetailsViewModel::isOneDecimalText(text), oneDecimal);
        QCOMPARE(ChannelDetailsViewModel::hasOnlyLeadingMinus(text), leadingMinus);
    }

    void berNormalForm()
    {
        QCOMPARE(ChannelDetailsViewModel::normalBerText(QStringLiteral("2.0E-4")), QStringLiteral("2.0E-4"));
        QCOMPARE(ChannelDetailsViewModel::normalBerText(QStringLiteral("1.E-5")), QStringLiteral("1.0E-5"));
        QCOMPARE(ChannelDetailsViewModel::normalBerText(QStringLiteral("3.5E-7")), QStringLiteral("3.5E-7"));
    }

    // Every pop-up of the save check, each from a row that otherwise passes.
    void validation_data()
    {
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("ofdm");
        QTest::addColumn<QString>("catv");
        QTest::addColumn<int>("popup");
        QTest::addColumn<QString>("normalMer");
        QTest::addColumn<QString>("normalBer");

        const QString t = QStringLiteral("地デジ");
        QTest::newRow("passes") << t << "ISDBT" << "" << "" << "MER" << "MER" << 0 << "22.0" << "2.0E-4";
        QTest::newRow("level min 20.0") << t << "ISDBT" << "LevelMin" << "20.0" << "MER" << "MER" << 0 << "" << "";
        QTest::newRow("level max 120.0") << t << "ISDBT" << "LevelMax" << "120.0" << "MER" << "MER" << 0 << "" << "";
        QTest::newRow("level min 19.9") << t << "ISDBT" << "LevelMin" << "19.9" << "MER" << "MER" << 1 << "" << "";
        QTest::newRow("level min ---") << t << "ISDBT" << "LevelMin" << "---" << "MER" << "MER" << 1 << "" << "";
        QTest::newRow("level max 120.1") << t << "ISDBT" << "LevelMax" << "120.1" << "MER" << "MER" << 2 << "" << "";
        QTest::newRow("level min above max") << t << "ISDBT" << "LevelMin" << "95.0" << "MER" << "MER" << 9 << "" << "";
        QTest::newRow("CATV ISDBC MER 41") << "CATV" << "ISDBC" << "Mer" << "41.0" << "MER" << "MER" << 3 << "" << "";
        QTest::newRow("CATV ISDBC MER 38") << "CATV" << "ISDBC" << "Mer" << "38.0" << "MER" << "MER" << 0 << "" << "";
        QTest::newRow("CATV ISDBT MER 38") << "CATV" << "ISDBT" << "Mer" << "38.0" << "MER" << "MER" << 4 << "" << "";
        QTest::newRow("optical service MER 19") << "スカパー！光" << "OPTICAST" << "Mer" << "19.0" << "MER" << "MER" << 3 << "" << "";
        QTest::newRow("JCSAT C/N 30") << "JCSAT-3A 水平" << "DVBS/S2" << "Mer" << "30.0" << "MER" << "MER" << 8 << "" << "";
        QTest::newRow("SCC C/N 25") << "SCC-C 垂直" << "DVBS/S2" << "Mer" << "25.0" << "MER" << "MER" << 0 << "" << "";
        QTest::newRow("FM MER ---") << "FM" << "FM" << "Mer" << "---" << "MER" << "MER" << 0 << "---" << "";
        QTest::newRow("FM MER 3.0") << "FM" << "FM" << "Mer" << "3.0" << "MER" << "MER" << 0 << "---" << "";
        QTest::newRow("PILOT MER 30.0 kept") << "PILOT" << "PILOT" << "Mer" << "30.0" << "MER" << "MER" << 0 << "30.0" << "";
        QTest::newRow("terrestrial MER 4.9") << t << "ISDBT" << "Mer" << "4.9" << "MER" << "MER" << 4 << "" << "";
        QTest::newRow("converted C/N unchecked in MER") << t << "ISDBT" << "ConvCNR" << "36.0" << "MER" << "MER" << 0 << "" << "";
        QTest::newRow("converted C/N 36 in CNR") << "地デジ(換算)" << "ISDBT" << "ConvCNR" << "36.0" << "CNR" << "MER" << 14 << "" << "";
        QTest::newRow("CATV converted C/N 4") << "CATV(換算)" << "ISDBT" << "ConvCNR" << "4.0" << "MER" << "CNR" << 15 << "" << "";
        QTest::newRow("CATV ISDBC converted unchecked") << "CATV" << "ISDBC" << "ConvCNR" << "4.0" << "MER" << "CNR" << 0 << "" << "";
        QTest::newRow("BER 2.2E-2") << t << "ISDBT" << "Ber" << "2.2E-2" << "MER" << "MER" << 0 << "" << "2.2E-2";
        QTest::newRow("BER 9.9E-9") << t << "ISDBT" << "Ber" << "9.9E-9" << "MER" << "MER" << 0 << "" << "";
        QTest::newRow("BER 9.0E-9") << t << "ISDBT" << "Ber" << "9.0E-9" << "MER" << "MER" << 5 << "" << "";
        QTest::newRow("BER 3.0E-2") << t << "ISDBT" << "Ber" << "3.0E-2" << "MER" << "MER" << 5 << "" << "";
        QTest::newRow("BER ---") << t << "ISDBT" << "Ber" << "---" << "MER" << "MER" << 0 << "" << "---";
        QTest::newRow("BER 0.0E-0") << t << "ISDBT" << "Ber" << "0.0E-0" << "MER" << "MER" << 0 << "" << "0.0E-0";
        QTest::newRow("BER empty") << t << "ISDBT" << "Ber" << "" << "MER" << "MER" << 5 << "" << "";
        QTest::newRow("optical min -30.0") << t << "ISDBT" << "HikariLevelMin" << "-30.0" << "MER" << "MER" << 0 << "" << "";
        QTest::newRow("optical min -30.1") << t << "ISDBT" << "HikariLevelMin" << "-30.1" << "MER" << "MER" << 11 << "" << "";
        QTest::newRow("optical min -10") << t << "ISDBT" << "HikariLevelMin" << "-10" << "MER" << "MER" << 10 << "" << "";
        QTest::newRow("optical min 1-0.0") << t << "ISDBT" << "HikariLevelMin" << "1-0.0" << "MER" << "MER" << 10 << "" << "";
        QTest::newRow("optical max 5.1") << t << "ISDBT" << "HikariLevelMax" << "5.1" << "MER" << "MER" << 0 << "" << "";
        QTest::newRow("optical max 5.2") << t << "ISDBT" << "HikariLevelMax" << "5.2" << "MER" << "MER" << 13 << "" << "";
        QTest::newRow("optical max 5") << t << "ISDBT" << "HikariLevelMax" << "5" << "MER" << "MER" << 12 << "" << "";
        QTest::newRow("optical min above max") << t << "ISDBT" << "HikariLevelMax" << "-11.0" << "MER" << "MER" << 16 << "" << "";
    }

    void validation()
    {
        QFETCH(QString, band);
        QFETCH(QString, standard);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, ofdm);
        QFETCH(QString, catv);
        QFETCH(int, popup);
        QFETCH(QString, normalMer);
        QFETCH(QString, normalBer);

        ChannelDetailsEditRow r = passingRow(band, standard);
        if (field == QLatin1String("LevelMin"))
            r.LevelMin = value;
        else if (field == QLatin1String("LevelMax"))
            r.LevelMax = value;
        else if (field == QLatin1String("Mer"))
            r.Mer = value;
        else if (field == QLatin1String("Ber"))
            r.Ber = value;
        else if (field == QLatin1String("HikariLevelMin"))
            r.HikariLevelMin = value;
        else if (field == QLatin1String("HikariLevelMax"))
            r.HikariLevelMax = value;
        else if (field == QLatin1String("ConvCNR"))
            r.ConvCNR = value;
        QCOMPARE(ChannelDetailsViewModel::validateRow(&r, ofdm, catv), popup);
        if (!normalMer.isEmpty())
            QCOMPARE(r.Mer, normalMer);
        if (!normalBer.isEmpty())
            QCOMPARE(r.Ber, normalBer);
    }

    // --- Activation ---

    // Without an alert file every measured row shows its band's defaults; the plan's
    // oscillator, feed and standard show as texts; the row numbers count shown rows only.
    void mergeWithoutAlertFile()
    {
        openDevice1();
        QObject *page = fx.page();
        QCOMPARE(fx.model()->rowCount(), 5);
        QCOMPARE(page->property("numbers").toInt(), 5);
        QCOMPARE(page->property("currentfile").toString(), QStringLiteral("機器No.1: 本社 を編集中"));
        QCOMPARE(page->property("ofdmMerCnr").toString(), QStringLiteral("MER"));
        QCOMPARE(fx.modelRow(0), row("1", "地デジ", "13", "473.143", "ISDBT", "---", "しない", "47.0", "90.0", "20.0",
                                     "2.0E-4", "-10.0", "0.0", "20.0"));
        QCOMPARE(fx.modelRow(1), row("2", "BS右旋", "BS1", "1049.48", "ISDBS/S3", "---", "する", "50.0", "81.0", "9.0",
                                     "2.0E-4", "-10.0", "0.0", "---"));
        QCOMPARE(fx.modelRow(2), row("3", "CATV", "C13", "111.000", "ISDBC", "---", "しない", "49.0", "81.0", "26.0",
                                     "2.0E-4", "-10.0", "0.0", "20.0"));
        QCOMPARE(fx.modelRow(3), row("4", "JCSAT-3A 水平", "JD1", "1049.00", "DVBS/S2", "10.678", "する", "50.0",
                                     "81.0", "7.0", "2.0E-4", "-10.0", "0.0", "---"));
        QCOMPARE(fx.modelRow(4), row("5", "FM", "FM1", "80.0", "FM", "---", "しない", "20.0", "120.0", "---", "---",
                                     "-10.0", "0.0", "---"));
        QCOMPARE(fx.details()->workingRows().size(), 6);
        // The rows on the page follow the model.
        QObject *band = DetailsHost::find(fx.pageChild(QStringLiteral("channelRow3")), QStringLiteral("detailsBandText"));
        QVERIFY(band);
        QCOMPARE(band->property("text").toString(), QStringLiteral("JCSAT-3A 水平"));
    }

    void convertedNamesInCnrMode()
    {
        QVERIFY(fx.writePlan(1, ChannelSettingFile::Copy::Working,
                             "0,13,473143,0,0,0,1\n5,C13,111000,3,0,0,1\n5,C20,165143,0,0,0,1\n"));
        QVERIFY(fx.open(1, QStringLiteral("本社"), ScreenDeviceSetting, QStringLiteral("CNR"), QStringLiteral("CNR")));
        QCOMPARE(fx.modelRow(0).at(1), QStringLiteral("地デジ(換算)"));
        QCOMPARE(fx.modelRow(1).at(1), QStringLiteral("CATV"));
        QCOMPARE(fx.modelRow(2).at(1), QStringLiteral("CATV(換算)"));
        QCOMPARE(fx.modelRow(2).at(4), QStringLiteral("ISDBT"));
    }

    // The alert file's rows fill the measured rows of their band and channel; the pending
    // file wins over the committed one; an empty LevelMin means defaults.
    void mergeWithAlertFile()
    {
        QVERIFY(fx.writeAlert(1, AlertSettingFile::Copy::Committed,
                              DetailsHost::alertHeader() + "0,13,40.0,80.0,25.0,1.0E-4,-9.0,1.0,30.0\n"));
        QVERIFY(fx.writeAlert(1, AlertSettingFile::Copy::Pending,
                              DetailsHost::alertHeader() + "0,13,41.0,81.0,25.0,1.0E-4,-9.0,1.0,30.0\n"
                                                           "1,BS1,,81.0,9.0,2.0E-4,-10.0,0.0,---\n"
                                                           "5,C99,49.0,81.0,26.0,2.0E-4,-10.0,0.0,20.0\n"
                                                           "5,C13,45.0,85.0,27.0,2.0E-4,-10.0,0.0,20.0\n"));
        openDevice1();
        QCOMPARE(fx.modelRow(0).mid(7), QStringList({"41.0", "81.0", "25.0", "1.0E-4", "-9.0", "1.0", "30.0"}));
        // Empty LevelMin: the band's defaults.
        QCOMPARE(fx.modelRow(1).mid(7), QStringList({"50.0", "81.0", "9.0", "2.0E-4", "-10.0", "0.0", "---"}));
        // "C99" is in no plan row: C13 after it still finds its own row.
        QCOMPARE(fx.modelRow(2).mid(7), QStringList({"45.0", "85.0", "27.0", "2.0E-4", "-10.0", "0.0", "20.0"}));
    }

    // An alert file of the older layout: 8 header columns make every row take the older
    // defaults of the last three thresholds.
    void mergeOldLayout()
    {
        QVERIFY(fx.writeAlert(1, AlertSettingFile::Copy::Committed,
                              "'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER,HikariLevelMin,HikariLevelMax\n"
                              "0,13,<40.0,>80.0,<25.0,>1.0E-4,-5.0,2.0,30.0\n"
                              "1,BS 1,50.0,81.0,9.0,2.0E-4\n"));
        openDevice1();
        QCOMPARE(fx.modelRow(0).mid(7), QStringList({"40.0", "80.0", "25.0", "1.0E-4", "-10.0", "0.0", "21.0"}));
        QCOMPARE(fx.modelRow(1).mid(7), QStringList({"50.0", "81.0", "9.0", "2.0E-4", "-10.0", "0.0", "---"}));
    }

    // --- Edits ---

    void standardMovesFrequency_data()
    {
        QTest::addColumn<QByteArray>("plan");
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("catvMode");
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("name");
        QTest::newRow("000 to ISDBT") << QByteArray("5,C13,111000,3,0,0,1\n") << "ISDBT" << "MER" << "111143"
                                      << "111.143" << "CATV";
        QTest::newRow("000 to ISDBT, CNR") << QByteArray("5,C13,111000,3,0,0,1\n") << "ISDBT" << "CNR" << "111143"
                                           << "111.143" << "CATV(換算)";
        QTest::newRow("143 to ISDBC") << QByteArray("5,C13,111143,0,0,0,1\n") << "ISDBC" << "MER" << "111000"
                                      << "111.000" << "CATV";
        QTest::newRow("143 to ISDBC, CNR") << QByteArray("5,C13,111143,0,0,0,1\n") << "ISDBC" << "CNR" << "111000"
                                           << "111.000" << "CATV";
        QTest::newRow("143 to ISDBT stays") << QByteArray("5,C13,111143,0,0,0,1\n") << "ISDBT" << "MER" << "111143"
                                            << "111.143" << "CATV";
        QTest::newRow("000 to ISDBC stays") << QByteArray("5,C13,111000,3,0,0,1\n") << "ISDBC" << "MER" << "111000"
                                            << "111.000" << "CATV";
    }

    void standardMovesFrequency()
    {
        QFETCH(QByteArray, plan);
        QFETCH(QString, standard);
        QFETCH(QString, catvMode);
        QFETCH(QString, frequency);
        QFETCH(QString, shown);
        QFETCH(QString, name);
        QVERIFY(fx.writePlan(1, ChannelSettingFile::Copy::Working, plan));
        QVERIFY(fx.open(1, QStringLiteral("本社"), ScreenDeviceSetting, QStringLiteral("MER"), catvMode));
        fx.send(fx.modelRow(0).at(1), QStringLiteral("C13"), QStringLiteral("detailsBroadbandBox"), standard,
                QString(), 0);
        QCOMPARE(fx.details()->measuredRows().at(0).frequency, frequency);
        QCOMPARE(fx.details()->measuredRows().at(0).broadbandSystem, standard == QLatin1String("ISDBT") ? 0 : 3);
        QCOMPARE(fx.modelRow(0).at(3), shown);
        QCOMPARE(fx.modelRow(0).at(4), standard);
        QCOMPARE(fx.modelRow(0).at(1), name);
    }

    // One oscillator for the whole band: every row of the band, measured or not, and the
    // shown intermediate frequency follows.
    void localOscillatorOfBand()
    {
        QVERIFY(fx.writePlan(1, ChannelSettingFile::Copy::Working,
                             "8,JD1,11727000,0,10678000,1,1\n8,JD3,11766000,0,10678000,1,0\n"
                             "8,JD5,11804000,0,10678000,1,1\n9,JD2,11747000,0,10678000,1,1\n"));
        QVERIFY(fx.open(1, QStringLiteral("本社"), ScreenDeviceSetting));
        fx.send(QStringLiteral("JCSAT-3A 水平"), QStringLiteral("JD1"), QStringLiteral("detailsLocalFreqBoxJCSAT"),
                QStringLiteral("11.2"), QString(), 0);
        QCOMPARE(fx.modelRow(0).mid(3, 4), QStringList({"527.00", "DVBS/S2", "11.2", "する"}));
        QCOMPARE(fx.modelRow(1).mid(3, 4), QStringList({"604.00", "DVBS/S2", "11.2", "する"}));
        QCOMPARE(fx.modelRow(2).at(5), QStringLiteral("10.678"));
        QCOMPARE(fx.details()->shownRows().at(0).LocalFrequency, QStringLiteral("11200000"));
        const QList<ChannelDetailsEntry> &plan = fx.details()->workingRows();
        QCOMPARE(plan.at(0).localFrequency, QStringLiteral("11200000"));
        QCOMPARE(plan.at(1).localFrequency, QStringLiteral("11200000"));
        QCOMPARE(plan.at(2).localFrequency, QStringLiteral("11200000"));
        QCOMPARE(plan.at(3).localFrequency, QStringLiteral("10678000"));
    }

    // The power feed is per band; a CATV row shown as converted changes its twin too.
    void powerFeedOfBand()
    {
        QVERIFY(fx.writePlan(1, ChannelSettingFile::Copy::Working,
                             "5,C13,111000,3,0,0,1\n5,C20,165143,0,0,0,1\n5,C21,171000,3,0,0,0\n"
                             "0,13,473143,0,0,0,1\n"));
        QVERIFY(fx.open(1, QStringLiteral("本社"), ScreenDeviceSetting, QStringLiteral("MER"), QStringLiteral("CNR")));
        QCOMPARE(fx.modelRow(1).at(1), QStringLiteral("CATV(換算)"));
        fx.send(QStringLiteral("CATV(換算)"), QStringLiteral("C20"), QStringLiteral("detailsPowerText"),
                QStringLiteral("する"), QString(), 1);
        QCOMPARE(fx.modelRow(0).at(6), QStringLiteral("する"));
        QCOMPARE(fx.modelRow(1).at(6), QStringLiteral("する"));
        QCOMPARE(fx.modelRow(2).at(6), QStringLiteral("しない"));
        const QList<ChannelDetailsEntry> &plan = fx.details()->workingRows();
        QVERIFY(plan.at(0).powerSupply && plan.at(1).powerSupply && plan.at(2).powerSupply);
        QVERIFY(!plan.at(3).powerSupply);
    }

    // The CATV bulk change for the chosen rows only; the alert bulk change by band.
    void bulkChanges()
    {
        QVERIFY(fx.writePlan(1, ChannelSettingFile::Copy::Working,
                             "5,C13,111000,3,0,0,1\n5,C14,117000,3,0,0,1\n0,13,473143,0,0,0,1\n"
                             "8,JD1,11727000,0,10678000,1,1\n7,UL1,30000,0,0,0,1\n6,OP1,1100000,0,0,0,1\n"));
        QVERIFY(fx.open(1, QStringLiteral("本社"), ScreenDeviceSetting));
        fx.send(QString(), QString(), QStringLiteral("individualcheck"), QStringLiteral("true"), QString(), 1);
        fx.send(QString(), QString(), QStringLiteral("individualcheck"), QStringLiteral("yes"), QString(), 2);
        fx.send(QString(), QString(), QStringLiteral("individualcheck"), QStringLiteral("false"), QString(), 2);
        fx.send(QString(), QString(), QStringLiteral("catvchange"), QStringLiteral("ISDBT"), QString(), 1);
        QCOMPARE(fx.modelRow(0).mid(3, 2), QStringList({"111.000", "ISDBC"}));
        QCOMPARE(fx.modelRow(1).mid(3, 2), QStringList({"117.143", "ISDBT"}));
        QVERIFY(!fx.details()->shownRows().at(2).selected);

        // The alert pop-up's values for every row.
        fx.send(QStringLiteral("50.0"), QStringLiteral("90.0"), QStringLiteral("21.0"), QStringLiteral("3.0E-4"),
                QStringLiteral("alertPopup"), 0, QStringLiteral("-11.0"), QStringLiteral("1.0"), QStringLiteral("8.0"));
        // CATV and 地デジ: MER and the converted C/N.
        QCOMPARE(fx.modelRow(0).mid(7), QStringList({"50.0", "90.0", "21.0", "3.0E-4", "-11.0", "1.0", "8.0"}));
        QCOMPARE(fx.modelRow(2).mid(7), QStringList({"50.0", "90.0", "21.0", "3.0E-4", "-11.0", "1.0", "8.0"}));
        // Satellite: the CN value as its C/N.
        QCOMPARE(fx.modelRow(3).mid(7), QStringList({"50.0", "90.0", "8.0", "3.0E-4", "-11.0", "1.0", "---"}));
        // CATV上り keeps MER/CN and BER; the optical service takes the MER.
        QCOMPARE(fx.modelRow(4).mid(7), QStringList({"50.0", "90.0", "---", "---", "-11.0", "1.0", "---"}));
        QCOMPARE(fx.modelRow(5).mid(7), QStringList({"50.0", "90.0", "21.0", "3.0E-4", "-11.0", "1.0", "---"}));
    }

    // --- Saving ---

    // From the device setting screen: the pending pair byte for byte, the working copy gone,
    // the normal forms written, back to the device setting screen with the MER/CN modes.
    void pendingFilesByteForByte()
    {
        QVERIFY(fx.writePlan(1, ChannelSettingFile::Copy::Working,
                             "0,13,473143,0,0,0,1\n5,C13,111000,3,0,0,1\n5,C14,117000,3,0,0,0\n"
                             "8,JD1,11727000,0,10678000,0,1\n17,FM1,80000,0,0,0,1\n"));
        QVERIFY(fx.open(1, QStringLiteral("本社"), ScreenDeviceSetting, QStringLiteral("CNR"), QStringLiteral("MER"), true));
        QSignalSpy merCnr(fx.details(), &ChannelDetailsViewModel::dataPassMerCnr);
        fx.send(QString(), QString(), QStringLiteral("detailsLevelMinText"), QStringLiteral("47"), QString(), 0);
        fx.send(QString(), QString(), QStringLiteral("detailsCnrText"), QStringLiteral("25.5"), QString(), 0);
        fx.send(QString(), QString(), QStringLiteral("detailsBerText"), QStringLiteral("1.E-5"), QString(), 1);
        fx.send(QStringLiteral("CATV"), QStringLiteral("C13"), QStringLiteral("detailsBroadbandBox"),
                QStringLiteral("ISDBT"), QString(), 1);
        fx.send(QStringLiteral("CATV"), QStringLiteral("C13"), QStringLiteral("detailsPowerText"),
                QStringLiteral("する"), QString(), 1);
        fx.send(QStringLiteral("JCSAT-3A 水平"), QStringLiteral("JD1"), QStringLiteral("detailsLocalFreqBoxJCSAT"),
                QStringLiteral("11.3"), QString(), 2);
        fx.send(QString(), QString(), QStringLiteral("detailsMerText"), QStringLiteral("3.0"), QString(), 3);
        fx.save();

        QCOMPARE(fx.topPageName(), QStringLiteral("DeviceSetting"));
        QCOMPARE(TestFiles::readBytes(fx.alertPath(1, AlertSettingFile::Copy::Pending)),
                 DetailsHost::alertHeader() + "0,13,47.0,90.0,20.0,2.0E-4,-10.0,0.0,25.5\n"
                                              "5,C13,49.0,81.0,26.0,1.0E-5,-10.0,0.0,20.0\n"
                                              "8,JD1,50.0,81.0,7.0,2.0E-4,-10.0,0.0,---\n"
                                              "17,FM1,20.0,120.0,---,---,-10.0,0.0,---\n");
        QCOMPARE(TestFiles::readBytes(fx.planPath(1, ChannelSettingFile::Copy::Pending)),
                 DetailsHost::planHeader() + "0,13,473143,0,0,0,1\n5,C13,111143,0,0,1,1\n5,C14,117000,3,0,1,0\n"
                                             "8,JD1,11727000,0,11300000,0,1\n17,FM1,80000,0,0,0,1\n");
        QVERIFY(!ChannelSettingFile::exists(1, ChannelSettingFile::Copy::Working));
        QVERIFY(!ChannelSettingFile::exists(1, ChannelSettingFile::Copy::Committed));
        QCOMPARE(merCnr.count(), 1);
        QCOMPARE(merCnr.first(), QVariantList({1, QStringLiteral("CNR"), QStringLiteral("MER"), true}));
        const QString workLog = TestFiles::readShiftJis(fx.root.workLogPath());
        QVERIFY(workLog.contains(QStringLiteral(",機器No.1,測定チャンネル設定を変更")));
        // The banded CATV row shows as converted only in CNR mode; the band written is 5.
    }

    // A failing check shows its pop-up, writes nothing and stays; only the first failure.
    void refusedSave()
    {
        openDevice1();
        fx.send(QString(), QString(), QStringLiteral("detailsHikariMin"), QStringLiteral("-10"), QString(), 1);
        fx.send(QString(), QString(), QStringLiteral("detailsLevelMaxText"), QStringLiteral("130"), QString(), 3);
        fx.save();
        QCOMPARE(fx.popupText(), QStringLiteral("光レベル下限の数値が不正です。\n 00.0 の形式で入力してください。"));
        QCOMPARE(fx.topPageName(), QStringLiteral("ChannelDetails"));
        QVERIFY(!ChannelSettingFile::exists(1, ChannelSettingFile::Copy::Pending));
        QVERIFY(!AlertSettingFile::exists(1, AlertSettingFile::Copy::Pending));
        QVERIFY(ChannelSettingFile::exists(1, ChannelSettingFile::Copy::Working));
        fx.closePopups();
        fx.send(QString(), QString(), QStringLiteral("detailsHikariMin"), QStringLiteral("-10.0"), QString(), 1);
        fx.save();
        QCOMPARE(fx.popupText(), QStringLiteral("レベル上限の数値が不正です。\n 20.0 ～ 120.0　の範囲で入力してください。"));
    }

    // Without its working copy the screen has no plan: it says so and never saves an empty
    // plan over the device's channels.
    void missingWorkingCopy()
    {
        QVERIFY(fx.writePlan(2, ChannelSettingFile::Copy::Committed, "0,13,473143,0,0,0,1\n"));
        QVERIFY(fx.open(2, QStringLiteral("支社"), ScreenMeasurementResult));
        QCOMPARE(fx.model()->rowCount(), 0);
        QVERIFY(fx.popupText().startsWith(QStringLiteral("チャンネル設定を読み込めません。")));
        fx.closePopups();
        fx.save();
        QVERIFY(fx.popupText().startsWith(QStringLiteral("チャンネル設定を読み込めません。")));
        QCOMPARE(fx.topPageName(), QStringLiteral("ChannelDetails"));
        QVERIFY(!ChannelSettingFile::exists(2, ChannelSettingFile::Copy::Pending));
        QCOMPARE(TestFiles::readBytes(fx.planPath(2, ChannelSettingFile::Copy::Committed)),
                 DetailsHost::planHeader() + "0,13,473143,0,0,0,1\n");
        QVERIFY(fx.root.logMessages().contains(
            QStringLiteral("[ChannelDetailsViewModel] ") + fx.planPath(2, ChannelSettingFile::Copy::Working)
            + QStringLiteral(" read ERROR")));
    }

    // A pending file that cannot be written is shown; the earlier pending pair and the
    // working copy stay as they were.
    void failedWriteIsShown()
    {
        QVERIFY(fx.writePlan(1, ChannelSettingFile::Copy::Pending, "0,13,473143,0,0,0,1\n"));
        QVERIFY(QDir().mkpath(fx.alertPath(1, AlertSettingFile::Copy::Pending)));
        openDevice1();
        fx.save();
        QVERIFY(fx.popupText().startsWith(QStringLiteral("設定ファイルを保存できませんでした。")));
        QCOMPARE(fx.topPageName(), QStringLiteral("ChannelDetails"));
        QCOMPARE(TestFiles::readBytes(fx.planPath(1, ChannelSettingFile::Copy::Pending)),
                 DetailsHost::planHeader() + "0,13,473143,0,0,0,1\n");
        QVERIFY(ChannelSettingFile::exists(1, ChannelSettingFile::Copy::Working));

        // The plan cannot be written: the thresholds written just before are taken back.
        fx.closePopups();
        fx.goHome();
        QVERIFY(QDir(fx.alertPath(1, AlertSettingFile::Copy::Pending)).removeRecursively());
        ChannelSettingFile::removeCopy(1, ChannelSettingFile::Copy::Pending);
        QVERIFY(QDir().mkpath(fx.planPath(1, ChannelSettingFile::Copy::Pending)));
        openDevice1();
        fx.save();
        QVERIFY(fx.popupText().startsWith(QStringLiteral("設定ファイルを保存できませんでした。")));
        QVERIFY(!AlertSettingFile::exists(1, AlertSettingFile::Copy::Pending));
        QVERIFY(QDir(fx.planPath(1, ChannelSettingFile::Copy::Pending)).removeRecursively());
    }

    // The one-device reload: a file that cannot be read leaves the device's lists as they
    // were instead of emptying them; a readable pair replaces them.
    void reloadKeepsListsOfUnreadableFiles()
    {
        LevelChecker *device = fx.host->app->deviceList()->device(1);
        ResultListSetup::addChannel(device, BandTerrestrial, QStringLiteral("13"), 473143, 0, QStringLiteral("0"), true);
        QVERIFY(fx.writePlan(2, ChannelSettingFile::Copy::Working, "0,20,515143,0,0,0,1\n"));
        QVERIFY(fx.open(2, QStringLiteral("支社"), ScreenDeviceSetting));
        QVERIFY(!fx.details()->MeasurementChannelSettingFileRead());
        QVERIFY(!fx.details()->AlertSettingFileRead());
        QCOMPARE(device->channelSettingCount(), 1);
        QCOMPARE(device->alertSettingCount(), 1);
        const QStringList log = fx.root.logMessages();
        QVERIFY(log.contains(QStringLiteral("[ChannelDetailsViewModel] MeasurementChannel 2.csv read ERROR")));
        QVERIFY(log.contains(QStringLiteral("[ChannelDetailsViewModel] AlertSetting alert_2.csv read ERROR")));

        QVERIFY(fx.writePlan(2, ChannelSettingFile::Copy::Committed, "0,20,515143,0,0,0,1\n0,21,521143,0,0,0,0\n"));
        QVERIFY(fx.writeAlert(2, AlertSettingFile::Copy::Committed, DetailsHost::alertHeader()));
        QVERIFY(fx.details()->MeasurementChannelSettingFileRead());
        QVERIFY(fx.details()->AlertSettingFileRead());
        QCOMPARE(device->channelSettingCount(), 1);
        QCOMPARE(device->channelSetting(0).channel, QStringLiteral("20"));
        QCOMPARE(device->latestResult(0).level, QStringLiteral("---"));
        QCOMPARE(device->alertSettingCount(), 0);
        device->clearChannelSettings();
        device->clearLatestResults();
    }

    // --- Leaving ---

    void leaveCheck_data()
    {
        QTest::addColumn<bool>("viaReturn");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("planDiffers");
        QTest::addColumn<bool>("pendingPair");
        QTest::addColumn<bool>("asks");
        QTest::newRow("home, nothing changed") << false << "" << false << false << false;
        QTest::newRow("home, level edited") << false << "detailsLevelMinText" << false << false << true;
        QTest::newRow("home, converted C/N edited") << false << "detailsCnrText" << false << false << true;
        QTest::newRow("home, upper level edited") << false << "detailsLevelMaxText" << false << false << true;
        QTest::newRow("home, MER edited") << false << "detailsMerText" << false << false << true;
        QTest::newRow("home, BER edited") << false << "detailsBerText" << false << false << true;
        QTest::newRow("home, lower optical level edited") << false << "detailsHikariMin" << false << false << true;
        QTest::newRow("home, upper optical level edited") << false << "detailsHikariMax" << false << false << true;
        QTest::newRow("home, plan differs") << false << "" << true << false << true;
        QTest::newRow("home, pending pair") << false << "" << false << true << true;
        QTest::newRow("return, nothing changed") << true << "" << false << false << false;
        QTest::newRow("return, plan differs") << true << "" << true << false << false;
        QTest::newRow("return, level edited") << true << "detailsLevelMinText" << false << false << true;
    }

    void leaveCheck()
    {
        QFETCH(bool, viaReturn);
        QFETCH(QString, edit);
        QFETCH(bool, planDiffers);
        QFETCH(bool, pendingPair);
        QFETCH(bool, asks);
        const QByteArray plan = "0,13,473143,0,0,0,1\n";
        QVERIFY(fx.writePlan(1, ChannelSettingFile::Copy::Committed, planDiffers ? "0,14,479143,0,0,0,1\n" : plan));
        if (pendingPair) {
            QVERIFY(fx.writePlan(1, ChannelSettingFile::Copy::Pending, plan));
            QVERIFY(fx.writeAlert(1, AlertSettingFile::Copy::Pending,
                                  DetailsHost::alertHeader() + "0,13,47.0,90.0,20.0,2.0E-4,-10.0,0.0,20.0\n"));
        }
        QVERIFY(fx.writePlan(1, ChannelSettingFile::Copy::Working, plan));
        QVERIFY(fx.open(1, QStringLiteral("本社"), ScreenMeasurementResult));
        if (!edit.isEmpty())
            fx.send(QString(), QString(), edit, QStringLiteral("30.0"), QString(), 0);
        QSignalSpy home(fx.details(), &ChannelDetailsViewModel::changeHomeDialog);
        QSignalSpy trans(fx.details(), &ChannelDetailsViewModel::transWindow);
        if (viaReturn)
            fx.send(QStringLiteral("returnbutton"), QString(), QString(), QString());
        else
            fx.host->frame->onHomeButtonClicked();
        QCOMPARE(fx.discardAsked(), asks);
        if (asks) {
            QCOMPARE(home.count() + trans.count(), 0);
            // "いいえ" keeps everything; "はい" leaves.
            QMetaObject::invokeMethod(fx.page(), "notChangeDestroy");
            QVERIFY(!fx.details()->isReturnRequested());
            if (viaReturn)
                fx.send(QStringLiteral("returnbutton"), QString(), QString(), QString());
            QMetaObject::invokeMethod(fx.page(), "changeDestroy");
        }
        if (viaReturn) {
            QCOMPARE(trans.count(), 1);
            QCOMPARE(trans.first().first().toString(), QStringLiteral("ChannelSetting.qml"));
            QCOMPARE(fx.topPageName(), QStringLiteral("ChannelSetting"));
            QVERIFY(ChannelSettingFile::exists(1, ChannelSettingFile::Copy::Working));
        } else {
            QCOMPARE(home.count(), 1);
            QCOMPARE(fx.topPageName(), QStringLiteral("Home"));
            QVERIFY(!ChannelSettingFile::exists(1, ChannelSettingFile::Copy::Working));
            QVERIFY(!ChannelSettingFile::exists(1, ChannelSettingFile::Copy::Pending));
            QVERIFY(!AlertSettingFile::exists(1, AlertSettingFile::Copy::Pending));
        }
        QVERIFY(ChannelSettingFile::exists(1, ChannelSettingFile::Copy::Committed));
    }

    // --- The page ---

    void pagePopups()
    {
        openDevice1();
        QObject *page = fx.page();
        QMetaObject::invokeMethod(page, "onOpenPopup", Q_ARG(QVariant, 7));
        QVERIFY(fx.discardAsked());
        QVERIFY(fx.popupText().isEmpty());
        fx.closePopups();
        const QMap<int, QString> starts = {{1, "レベル下限"}, {2, "レベル上限"}, {3, "CATV（ISDBC)"}, {4, "MER/CN"},
                                           {5, "BERの数値が不正です。"}, {6, "設定中です。"}, {8, "JCSAT-3A/4B"},
                                           {9, "LEVELの下限値は"}, {10, "光レベル下限の数値が不正です。\n 00.0"},
                                           {11, "光レベル下限の数値が不正です。\n -30.0"},
                                           {12, "光レベル上限の数値が不正です。\n 00.0"},
                                           {13, "光レベル上限の数値が不正です。\n -30.0"}, {14, "換算CN(地デジ)"},
                                           {15, "換算CN(CATV[ISDBT])"}, {16, "光レベルの下限値は"}};
        for (auto it = starts.cbegin(); it != starts.cend(); ++it) {
            QMetaObject::invokeMethod(page, "onOpenPopup", Q_ARG(QVariant, it.key()));
            QVERIFY2(fx.popupText().startsWith(it.value()), qPrintable(QString::number(it.key())));
            QVERIFY(!fx.discardAsked());
            fx.closePopups();
        }
    }

    // The alert pop-up's own values, sent for all rows by "はい"; the row inputs send their
    // edits; the return button runs the leave check.
    void pageControls()
    {
        openDevice1();
        QObject *alertPopup = fx.pageChild(QStringLiteral("alertPopup"));
        QMetaObject::invokeMethod(alertPopup, "open");
        const QMap<QString, QString> initial = {{"levelMinText", "50.0"}, {"levelMaxText", "90.0"},
                                                {"merText", "20.0"}, {"cnrText", "20.0"}, {"berText", "2.0E-4"},
                                                {"detailsHikariLevelmin", "-10.0"}, {"detailsHikariLevelmax", "0.0"}};
        for (auto it = initial.cbegin(); it != initial.cend(); ++it) {
            QObject *field = alertPopup->findChild<QObject *>(it.key());
            QVERIFY2(field, qPrintable(it.key()));
            QCOMPARE(field->property("text").toString(), it.value());
        }
        QVERIFY(alertPopup->findChild<QObject *>(QStringLiteral("alertall"))->property("checked").toBool());
        QMetaObject::invokeMethod(alertPopup->findChild<QObject *>(QStringLiteral("alertYesButton")), "clicked");
        QCOMPARE(fx.modelRow(0).mid(7), QStringList({"50.0", "90.0", "20.0", "2.0E-4", "-10.0", "0.0", "20.0"}));
        QCOMPARE(fx.modelRow(4).mid(7), QStringList({"50.0", "90.0", "---", "---", "-10.0", "0.0", "---"}));

        // A row input: typed text reaches the row.
        QObject *row = fx.pageChild(QStringLiteral("channelRow1"));
        auto *input = qobject_cast<QQuickItem *>(DetailsHost::find(row, QStringLiteral("detailsLevelMinTextInput")));
        QVERIFY(input);
        input->forceActiveFocus();
        QTest::keyClick(fx.host->window, Qt::Key_End);
        QTest::keyClick(fx.host->window, Qt::Key_Backspace);
        QTest::keyClick(fx.host->window, Qt::Key_5);
        QCOMPARE(fx.details()->shownRows().at(1).LevelMin, QStringLiteral("50.5"));
        // Letters do not get through.
        QTest::keyClick(fx.host->window, Qt::Key_A);
        QCOMPARE(fx.details()->shownRows().at(1).LevelMin, QStringLiteral("50.5"));

        // The return button: edited rows ask first.
        auto *back = qobject_cast<QQuickItem *>(fx.pageChild(QStringLiteral("returnbutton")));
        QVERIFY(back);
        const QPointF centre = back->mapToScene(QPointF(back->width() / 2, back->height() / 2));
        QTest::mouseClick(fx.host->window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
        QVERIFY(fx.discardAsked());
    }
};

QTEST_MAIN(TestChannelDetails)
#include "tst_channeldetails.moc"
