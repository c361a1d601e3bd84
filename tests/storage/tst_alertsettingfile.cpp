// ctest-label: frame
// Alert-threshold files: both layouts, marks and blanks removed, damaged lines, the writer,
// the band column of converted-C/N rows, promotion, and loading thresholds into a device.
#include "monitor/LevelChecker.h"
#include "storage/AlertSettingFile.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kHeader =
    "'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER,HikariLevelMin,HikariLevelMax,ConvertCNR";
const QByteArray kOldHeader = "'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER";

QString summary(const AlertSettingRow &r)
{
    return QStringList { QString::number(r.bandTabIndex), r.channel, r.levelMin, r.levelMax, r.merCn,
                         r.ber, r.hikariLevelMin, r.hikariLevelMax, r.convertCnr }
        .join(QLatin1Char('|'));
}

QStringList summaries(const QVector<AlertSettingRow> &rows)
{
    QStringList list;
    for (const AlertSettingRow &row : rows)
        list << summary(row);
    return list;
}

} // namespace

class TestAlertSettingFile : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(root.isValid());
        qputenv("NRT52_ROOT", root.path().toUtf8());
    }

    void fileNames()
    {
        const QString folder = root.path() + "/InternalReadOnly/CheckerSettings/AlertSetting";
        QCOMPARE(AlertSettingFile::folderPath(), folder);
        QCOMPARE(AlertSettingFile::filePath(3), folder + "/alert_3.csv");
        QCOMPARE(AlertSettingFile::filePath(12, AlertSettingFile::Copy::Pending), folder + "/alert_12_new.csv");
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("full layout, CR LF")
            << kHeader + "\r\n"
               "0,13,47.0,90.0,20.0,2.0E-4,-10.0,0.0,20.0\r\n"
               "6,1,50.0,81.0,---,---,-12.5,1.5,---\r\n"
            << QStringList { "0|13|47.0|90.0|20.0|2.0E-4|-10.0|0.0|20.0",
                             "6|1|50.0|81.0|---|---|-12.5|1.5|---" };

        QTest::newRow("six-column file takes the older defaults")
            << kOldHeader + "\n"
               "0,13,47.0,90.0,20.0,2.0E-4\n"
               "5,C24,50.0,85.0,30.0,1.0E-5\n"
               "1,BS1,50.0,81.0,9.0,2.0E-4\n"
            << QStringList { "0|13|47.0|90.0|20.0|2.0E-4|-10.0|0.0|21.0",
                             "5|C24|50.0|85.0|30.0|1.0E-5|-10.0|0.0|21.0",
                             "1|BS1|50.0|81.0|9.0|2.0E-4|-10.0|0.0|---" };

        QTest::newRow("older layout from the first short row on")
            << kHeader + "\n"
               "0,13,47.0,90.0,20.0,2.0E-4,-9.0,1.0,22.0\n"
               "0,14,47.0,90.0,20.0,2.0E-4,-9.0,1.0\n"
               "3,CS2,48.0,81.0,9.0,2.0E-4,-9.0,1.0,22.0\n"
            << QStringList { "0|13|47.0|90.0|20.0|2.0E-4|-9.0|1.0|22.0",
                             "0|14|47.0|90.0|20.0|2.0E-4|-10.0|0.0|21.0",
                             "3|CS2|48.0|81.0|9.0|2.0E-4|-10.0|0.0|---" };

        QTest::newRow("marks and blanks removed")
            << kHeader + "\n"
               "5, C 24 ,<47.0,>90.0,<<30.0,>1.0E-5,<-10.0,>0.0,<21.0\n"
               "0,13,>47.0,<90.0,>20.0,<2.0E-4,>-10.0,<0.0,>20.0\n"
            << QStringList { "5|C24|47.0|90.0|30.0|1.0E-5|-10.0|0.0|21.0",
                             "0|13|>47.0|<90.0|>20.0|<2.0E-4|>-10.0|<0.0|>20.0" };

        QTest::newRow("short and blank lines skipped, layout kept")
            << kHeader + "\n"
               "\n"
               "0,13,47.0\n"
               "   \n"
               "0,14,47.0,90.0,20.0,2.0E-4,-9.0,1.0,22.0"
            << QStringList { "0|14|47.0|90.0|20.0|2.0E-4|-9.0|1.0|22.0" };

        QTest::newRow("blank lines before the header")
            << "\n\r\n" + kHeader + "\n"
               "0,13,47.0,90.0,20.0,2.0E-4,-9.0,1.0,22.0\n"
            << QStringList { "0|13|47.0|90.0|20.0|2.0E-4|-9.0|1.0|22.0" };

        QTest::newRow("first line is the header whatever it holds")
            << QByteArray("0,13,47.0,90.0,20.0,2.0E-4,-9.0,1.0,22.0\n"
                          "0,14,47.0,90.0,20.0,2.0E-4,-9.0,1.0,22.0\n")
            << QStringList { "0|14|47.0|90.0|20.0|2.0E-4|-9.0|1.0|22.0" };

        QTest::newRow("byte-order mark and extra fields")
            << QByteArray("\xEF\xBB\xBF") + kHeader + "\n"
               "x,13,47.0,90.0,20.0,2.0E-4,-9.0,1.0,22.0,extra\n"
            << QStringList { "0|13|47.0|90.0|20.0|2.0E-4|-9.0|1.0|22.0" };

        QTest::newRow("header only") << kHeader + "\n" << QStringList();
        QTest::newRow("empty file") << QByteArray() << QStringList();
        // A NUL byte is a character like any other: the file goes on after it.
        QTest::newRow("NUL byte in the header")
            << QByteArray("'BandTabIndex,Chan\0nel,LevelMin,LevelMax,MER/CN,BER,HikariLevelMin,HikariLevelMax,ConvertCNR\n"
                          "0,13,47.0,90.0,20.0,2.0E-4,-10.0,0.0,20.0\n", 135)
            << QStringList { "0|13|47.0|90.0|20.0|2.0E-4|-10.0|0.0|20.0" };
        QTest::newRow("NUL byte in a row")
            << kHeader + "\n" + QByteArray("0,13,47.0,90.0,20.0,2.0E-4,-10.0,0.0,20.0\0\n", 43)
                   + "5,C24,50.0,85.0,30.0,1.0E-5,-10.0,0.0,21.0\n"
            << QStringList { QStringLiteral("0|13|47.0|90.0|20.0|2.0E-4|-10.0|0.0|20.0") + QChar(0),
                             QStringLiteral("5|C24|50.0|85.0|30.0|1.0E-5|-10.0|0.0|21.0") };
    }

    void read()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, rows);

        const QString path = AlertSettingFile::filePath(1);
        QVERIFY(TestFiles::writeBytes(path, content));
        QVector<AlertSettingRow> read;
        QVERIFY(AlertSettingFile::read(path, &read));
        QCOMPARE(summaries(read), rows);
    }

    void missingFileReadsNothing()
    {
        QVector<AlertSettingRow> rows { AlertSettingRow() };
        QVERIFY(!AlertSettingFile::read(AlertSettingFile::filePath(49), &rows));
        QVERIFY(rows.isEmpty());
    }

    void writeByteForByte()
    {
        AlertSettingRow terrestrial { 0, QStringLiteral("13"), QStringLiteral("47.0"), QStringLiteral("90.0"),
                                      QStringLiteral("20.0"), QStringLiteral("2.0E-4"), QStringLiteral("-10.0"),
                                      QStringLiteral("0.0"), QStringLiteral("20.0") };
        AlertSettingRow optical { 6, QStringLiteral("1"), QStringLiteral("50.0"), QStringLiteral("81.0"),
                                  QStringLiteral("---"), QStringLiteral("---"), QStringLiteral("-12.5"),
                                  QStringLiteral("1.5"), QStringLiteral("---") };
        const QString path = AlertSettingFile::filePath(2, AlertSettingFile::Copy::Pending);
        QVERIFY(QDir().mkpath(AlertSettingFile::folderPath()));
        QVERIFY(AlertSettingFile::write(path, { terrestrial, optical }));
        QCOMPARE(TestFiles::readBytes(path),
                 QByteArray("'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER,HikariLevelMin,"
                            "HikariLevelMax,ConvertCNR\n"
                            "0,13,47.0,90.0,20.0,2.0E-4,-10.0,0.0,20.0\n"
                            "6,1,50.0,81.0,---,---,-12.5,1.5,---\n"));

        QVector<AlertSettingRow> back;
        QVERIFY(AlertSettingFile::read(path, &back));
        QCOMPARE(summaries(back), summaries({ terrestrial, optical }));

        QVERIFY(TestFiles::writeBytes(root.path() + "/blocker", "x"));
        QVERIFY(!AlertSettingFile::write(root.path() + "/blocker/alert_1.csv", { terrestrial }));
    }

    void bandTabIndexOfName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("band");

        QTest::newRow("terrestrial") << "地デジ" << 0;
        QTest::newRow("terrestrial converted") << "地デジ(換算)" << 0;
        QTest::newRow("CATV converted") << "CATV(換算)" << 5;
        QTest::newRow("optical service") << "スカパー！光" << 6;
        QTest::newRow("PILOT") << "PILOT" << 18;
        QTest::newRow("unknown") << "BS(換算)" << 0;
        QTest::newRow("empty") << "" << 0;
    }

    void bandTabIndexOfName()
    {
        QFETCH(QString, name);
        QFETCH(int, band);
        QCOMPARE(AlertSettingFile::bandTabIndexOfName(name), band);
    }

    void promote()
    {
        const QString pending = AlertSettingFile::filePath(4, AlertSettingFile::Copy::Pending);
        const QString committed = AlertSettingFile::filePath(4);
        QVERIFY(TestFiles::writeBytes(committed, "old"));
        QVERIFY(AlertSettingFile::promote(4));
        QCOMPARE(TestFiles::readBytes(committed), QByteArray("old"));

        QVERIFY(TestFiles::writeBytes(pending, "new"));
        QVERIFY(AlertSettingFile::promote(4));
        QVERIFY(!QFile::exists(pending));
        QCOMPARE(TestFiles::readBytes(committed), QByteArray("new"));
    }

    void applyToDevice()
    {
        LevelChecker device(1, QStringLiteral("A"), nullptr, 0, QString(), 0, QString(), QString(), 3);
        device.addAlertSetting(AlertSettingRow());
        device.addAlertSetting(AlertSettingRow());

        const QString path = AlertSettingFile::filePath(1);
        QVERIFY(TestFiles::writeBytes(path, kOldHeader + "\n5,C24,<50.0,>85.0,30.0,1.0E-5\n"));
        QVector<AlertSettingRow> rows;
        QVERIFY(AlertSettingFile::read(path, &rows));
        AlertSettingFile::applyTo(&device, rows);
        QCOMPARE(device.alertSettingCount(), 1);
        QCOMPARE(summary(device.alertSetting(0)), QStringLiteral("5|C24|50.0|85.0|30.0|1.0E-5|-10.0|0.0|21.0"));

        AlertSettingFile::applyTo(&device, {});
        QCOMPARE(device.alertSettingCount(), 0);
        AlertSettingFile::applyTo(nullptr, rows);
    }

private:
    QTemporaryDir root;
};

QTEST_GUILESS_MAIN(TestAlertSettingFile)
#include "tst_alertsettingfile.moc"
