// ctest-label: resultlist
// The daily purge: when it runs, the retention cut-off, which files count as dated logs,
// the purge of a dated tree of log folders, and the prune of the results in memory.

#include "ResultListFixture.h"
#include "screens/LogPurge.h"

#include <QtTest>

namespace {
const QDateTime kAt(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
}

bool touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x\n") == 2;
}

QString dated(const QDate &date)
{
    return date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv");
}

ChannelResultRow resultAt(const QString &time)
{
    ChannelResultRow r;
    r.dateTime = time;
    return r;
}

AlertRecord recordAt(const QString &time)
{
    AlertRecord a;
    a.dateTime = time;
    return a;
}

QString stamp(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}
} // namespace

class TestResultListPurge : public QObject
{
    Q_OBJECT

private slots:
    void nextRun_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("next");
        QTest::newRow("month end") << kAt("2026-01-31 15:00:00.000") << kAt("2026-02-01 01:00:00.000");
        QTest::newRow("year end") << kAt("2026-12-31 23:59:00.000") << kAt("2027-01-01 01:00:00.000");
        QTest::newRow("after midnight") << kAt("2026-06-10 00:30:00.000") << kAt("2026-06-11 01:00:00.000");
        QTest::newRow("run on time") << kAt("2026-06-10 01:00:00.000") << kAt("2026-06-11 01:00:00.000");
        QTest::newRow("long run") << kAt("2026-06-10 01:07:31.250") << kAt("2026-06-11 01:00:00.000");
        QTest::newRow("leap day") << kAt("2028-02-28 12:00:00.000") << kAt("2028-02-29 01:00:00.000");
    }

    void nextRun()
    {
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, next);
        QCOMPARE(LogPurge::nextRunTime(now), next);
    }

    void retentionCutoff_data()
    {
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<int>("oneYearFlg");
        QTest::addColumn<QDateTime>("cutoff");
        QTest::newRow("one month") << kAt("2026-03-15 10:00:00.000") << 0 << kAt("2026-02-15 10:00:00.000");
        QTest::newRow("short month") << kAt("2026-03-31 10:00:00.000") << 0 << kAt("2026-02-28 10:00:00.000");
        QTest::newRow("year back") << kAt("2026-01-10 02:00:00.000") << 0 << kAt("2025-12-10 02:00:00.000");
        QTest::newRow("one year") << kAt("2026-03-15 10:00:00.000") << 1 << kAt("2025-03-15 10:00:00.000");
        QTest::newRow("one year from leap day") << kAt("2024-02-29 08:00:00.000") << 1 << kAt("2023-02-28 08:00:00.000");
        QTest::newRow("other flag") << kAt("2026-03-15 10:00:00.000") << 2 << kAt("2026-02-15 10:00:00.000");
    }

    void retentionCutoff()
    {
        QFETCH(QDateTime, from);
        QFETCH(int, oneYearFlg);
        QFETCH(QDateTime, cutoff);
        QCOMPARE(LogPurge::retentionCutoff(from, 1, oneYearFlg), cutoff);
    }

    void fileDate_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDate>("date");
        QTest::newRow("log file") << "20260214.csv" << QDate(2026, 2, 14);
        QTest::newRow("capitals") << "20260214.CSV" << QDate(2026, 2, 14);
        QTest::newRow("date then more") << "20260214_copy.csv" << QDate(2026, 2, 14);
        QTest::newRow("operator's file") << "notes.csv" << QDate();
        QTest::newRow("no such day") << "20260230.csv" << QDate();
        QTest::newRow("month 13") << "20261301.csv" << QDate();
        QTest::newRow("seven digits") << "2026021.csv" << QDate();
        QTest::newRow("signed") << "+2026021.csv" << QDate();
        QTest::newRow("other kind") << "20260214.txt" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }

    void fileDate()
    {
        QFETCH(QString, name);
        QFETCH(QDate, date);
        QCOMPARE(LogPurge::fileDate(name), date);
    }

    // Cut-off 15 February 10:00: the 14th and the 15th (midnight lies before 10:00) go,
    // the 16th stays; names that are no dated log stay whatever their age.
    void purgeFolderKeepsWhatIsNoDatedLog()
    {
        QTemporaryDir dir;
        const QString f = dir.path();
        const QStringList gone = {"20260214.csv", "20260215.csv", "20250101.CSV", "20200101_old.csv"};
        const QStringList kept = {"20260216.csv", "notes.csv", "20200101.txt", "20201301.csv", "2020011.csv",
                                  "運用メモ.csv"};
        for (const QString &name : gone + kept)
            QVERIFY(touch(f + QLatin1Char('/') + name));
        QVERIFY(QDir(f).mkdir(QStringLiteral("20200102.csv")));

        QCOMPARE(LogPurge::purgeFolder(f, kAt("2026-02-15 10:00:00.000")), gone.size());
        for (const QString &name : gone)
            QVERIFY2(!QFile::exists(f + QLatin1Char('/') + name), qPrintable(name));
        for (const QString &name : kept)
            QVERIFY2(QFile::exists(f + QLatin1Char('/') + name), qPrintable(name));
        QVERIFY(QFileInfo(f + QStringLiteral("/20200102.csv")).isDir());
        QCOMPARE(LogPurge::purgeFolder(f + QStringLiteral("/missing"), kAt("2026-02-15 10:00:00.000")), 0);
    }

    // The screen purges the dated tree at its construction: result and error logs of
    // devices 1-50, the work history and the result histories.
    void purgeAtStart_data()
    {
        QTest::addColumn<int>("oneYearFlg");
        QTest::newRow("one month") << 0;
        QTest::newRow("one year") << 1;
    }

    void purgeAtStart()
    {
        QFETCH(int, oneYearFlg);
        ResultListFixture fx;
        QVERIFY(fx.prepare(oneYearFlg));
        const QString root = fx.root();
        const QDate today = QDate::currentDate();
        const QDate monthOld = today.addMonths(-1).addDays(-2);
        const QDate monthRecent = today.addMonths(-1).addDays(2);
        const QDate yearOld = today.addYears(-1).addDays(-2);
        const QStringList folders = {
            root + QStringLiteral("/Data/LOG/機器No1"), root + QStringLiteral("/Data/LOG/機器No50"),
            root + QStringLiteral("/Data/ERROR_LOG/機器No2"), root + QStringLiteral("/InternalReadOnly/WORK_LOG"),
            root + QStringLiteral("/InternalReadOnly/INDIVIDUAL_LOG/機器No3"),
        };
        const QString untouched = root + QStringLiteral("/Data/LOG/機器No51");
        for (const QString &folder : folders + QStringList {untouched}) {
            for (const QDate &date : {today, monthRecent, monthOld, yearOld})
                QVERIFY(touch(folder + QLatin1Char('/') + dated(date)));
            QVERIFY(touch(folder + QStringLiteral("/operator notes.csv")));
        }

        fx.createViewModel();

        for (const QString &folder : folders) {
            QVERIFY(QFile::exists(folder + QLatin1Char('/') + dated(today)));
            QVERIFY(QFile::exists(folder + QLatin1Char('/') + dated(monthRecent)));
            QCOMPARE(QFile::exists(folder + QLatin1Char('/') + dated(monthOld)), oneYearFlg == 1);
            QVERIFY2(!QFile::exists(folder + QLatin1Char('/') + dated(yearOld)), qPrintable(folder));
            QVERIFY(QFile::exists(folder + QStringLiteral("/operator notes.csv")));
        }
        for (const QDate &date : {today, monthRecent, monthOld, yearOld})
            QVERIFY(QFile::exists(untouched + QLatin1Char('/') + dated(date)));
    }

    // The timer waits for the next 01:00; each nightly run purges, prunes and waits for the
    // next 01:00 again.
    void nightlyRun()
    {
        ResultListFixture fx;
        QVERIFY(fx.prepare());
        LevelChecker *device = fx.addDevice(QStringLiteral("本社"), QStringLiteral("127.0.0.2"));
        ResultListFixture::addChannel(device, 0, QStringLiteral("13"), 473143);
        MeasurementResultViewModel *view = fx.createViewModel();

        auto *timer = const_cast<QTimer *>(view->purgeTimer());
        QVERIFY(timer->isActive());
        QVERIFY(timer->isSingleShot());
        QCOMPARE(timer->timerType(), Qt::PreciseTimer);
        QDateTime now = QDateTime::currentDateTime();
        QVERIFY(qAbs(timer->remainingTime() - now.msecsTo(LogPurge::nextRunTime(now))) < 2000);

        const QString log = fx.root() + QStringLiteral("/Data/ERROR_LOG/機器No1/")
                            + dated(QDate::currentDate().addMonths(-2));
        QVERIFY(touch(log));
        const QDateTime old = QDateTime(QDate::currentDate().addDays(-5), QTime(12, 0));
        device->addMeasurementHistory(resultAt(stamp(old)), 0);
        device->addMeasurementHistory(resultAt(stamp(QDateTime::currentDateTime())), 0);

        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QVERIFY(!QFile::exists(log));
        QCOMPARE(device->measurementHistoryCount(0), 1);
        QVERIFY(timer->isActive());
        now = QDateTime::currentDateTime();
        QVERIFY(qAbs(timer->remainingTime() - now.msecsTo(LogPurge::nextRunTime(now))) < 2000);
    }

    // Results and records before 00:00 three days ago go; a record goes with the message at
    // its position; entries without a readable time stay; a device without a plan is left.
    void pruneInMemory()
    {
        ResultListFixture fx;
        QVERIFY(fx.prepare());
        LevelChecker *device = fx.addDevice(QStringLiteral("本社"), QStringLiteral("127.0.0.2"));
        ResultListFixture::addChannel(device, 0, QStringLiteral("13"), 473143);
        ResultListFixture::addChannel(device, 0, QStringLiteral("21"), 521143);
        LevelChecker *planless = fx.addDevice(QStringLiteral("支社"), QStringLiteral("127.0.0.3"));
        MeasurementResultViewModel *view = fx.createViewModel();

        const QDate today = QDate::currentDate();
        const QDateTime cutoff(today.addDays(-3), QTime(0, 0));
        const QStringList history = {
            stamp(cutoff.addSecs(-1)), stamp(cutoff), stamp(cutoff.addDays(-7)), QStringLiteral("----/--/-- --:--:--"),
            stamp(QDateTime(today, QTime(0, 0, 1))), QStringLiteral("2026/02/30 10:00:00"),
        };
        for (const QString &time : history) {
            device->addMeasurementHistory(resultAt(time), 0);
            device->addMeasurementHistory(resultAt(time), 1);
        }
        planless->addMeasurementHistory(resultAt(stamp(cutoff.addDays(-7))), 0);
        const QStringList records = {stamp(cutoff.addDays(-1)), stamp(cutoff.addSecs(1)), stamp(cutoff.addSecs(-60))};
        for (int i = 0; i < records.size(); ++i) {
            device->addAlertRecord(recordAt(records.at(i)), 1);
            device->addErrorMessage(QStringLiteral("m%1").arg(i), 1);
        }

        view->pruneOldResults();

        const QStringList kept = {stamp(cutoff), QStringLiteral("----/--/-- --:--:--"),
                                  stamp(QDateTime(today, QTime(0, 0, 1))), QStringLiteral("2026/02/30 10:00:00")};
        for (int channel : {0, 1}) {
            QStringList left;
            for (int k = 0; k < device->measurementHistoryCount(channel); ++k)
                left << device->measurementHistory(channel, k).dateTime;
            QCOMPARE(left, kept);
        }
        QCOMPARE(device->alertRecordCount(1), 1);
        QCOMPARE(device->alertRecord(1, 0).dateTime, records.at(1));
        QCOMPARE(device->errorMessageCount(1), 1);
        QCOMPARE(device->errorMessage(1, 0), QStringLiteral("m1"));
        QCOMPARE(planless->measurementHistoryCount(0), 1);
    }
};

QTEST_MAIN(TestResultListPurge)
#include "tst_resultlistpurge.moc"
