// ctest-label: monitor
// The device's stored results as the screens and saves read them back: every text exactly as
// stored, whatever the device sent as date-time; the prune of old results and alert records
// with their messages; the move of stored results to a new plan.

#include "monitor/LevelChecker.h"
#include "screens/LogPurge.h"
#include "support/ResultSamples.h"

#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(ChannelResultRow)

namespace {
std::unique_ptr<LevelChecker> makeDevice()
{
    return std::make_unique<LevelChecker>(1, QStringLiteral("機器A"), nullptr, 0, QStringLiteral("1.csv"), 0,
                                          QStringLiteral("常時"), QStringLiteral("常時"), 3);
}

bool same(const ChannelResultRow &a, const ChannelResultRow &b)
{
    return a.bandTabIndex == b.bandTabIndex && a.channel == b.channel && a.dateTime == b.dateTime
           && a.level == b.level && a.merCn == b.merCn && a.ber == b.ber && a.hikariLevel == b.hikariLevel
           && a.modulation == b.modulation && a.layer == b.layer && a.extraValue == b.extraValue
           && a.broadcastStandard == b.broadcastStandard && a.convertedCn == b.convertedCn;
}

AlertRecord record(const QString &dateTime)
{
    AlertRecord r;
    r.dateTime = dateTime;
    r.levelError = true;
    return r;
}
} // namespace

class TestStoredResults : public QObject
{
    Q_OBJECT

private slots:
    void textsComeBackExactly_data()
    {
        QTest::addColumn<ChannelResultRow>("row");
        QTest::newRow("plain") << sampleResult(QStringLiteral("2026/12/10 09:15:03"));
        QTest::newRow("first moment of a year") << sampleResult(QStringLiteral("0001/01/01 00:00:00"));
        QTest::newRow("no result yet") << sampleResult(QString());
        QTest::newRow("not a moment") << sampleResult(QStringLiteral("2026/02/30 25:61:00"));
        QTest::newRow("other separators") << sampleResult(QStringLiteral("2026-12-10T09:15:03"));
        QTest::newRow("longer text") << sampleResult(QStringLiteral("2026/12/10 09:15:03.5"));
        QTest::newRow("short text") << sampleResult(QStringLiteral("2026/12/10"));
        ChannelResultRow odd = sampleResult(QStringLiteral("2026/12/10 23:59:59"), QStringLiteral("BS 1"), QString());
        odd.bandTabIndex = 8;
        odd.convertedCn = true;
        odd.broadcastStandard = QStringLiteral("ＩＳＤＢ−Ｓ");
        QTest::newRow("empty value, other band, converted") << odd;
    }

    void textsComeBackExactly()
    {
        QFETCH(ChannelResultRow, row);
        auto device = makeDevice();
        device->addMeasurementHistory(sampleResult(QStringLiteral("2026/12/09 00:00:00")), 4);
        device->addMeasurementHistory(row, 4);
        QCOMPARE(device->measurementHistoryCount(4), 2);
        QVERIFY(same(device->measurementHistory(4, 1), row));
        QVERIFY(same(device->measurementHistory(4, 0), sampleResult(QStringLiteral("2026/12/09 00:00:00"))));
        // Outside the lists: empty values, changes ignored.
        QVERIFY(same(device->measurementHistory(4, 2), ChannelResultRow()));
        QVERIFY(same(device->measurementHistory(100, 0), ChannelResultRow()));
        device->removeMeasurementHistory(4, 5);
        device->addMeasurementHistory(row, -1);
        QCOMPARE(device->measurementHistoryCount(4), 2);
        device->removeMeasurementHistory(4, 0);
        QVERIFY(same(device->measurementHistory(4, 0), row));
    }

    // Everything dated before the cut-off goes, wherever it stands in the list; entries
    // without a readable date stay; a longer text is dated by its first 19 characters, any
    // separators. Alert records take the message at their position with them.
    void pruneDropsOlderEntries()
    {
        auto device = makeDevice();
        ChannelSettingRow plan;
        plan.channel = QStringLiteral("13");
        device->addChannelSetting(plan);
        device->addChannelSetting(plan);
        const QDateTime cutoff(QDate(2026, 12, 7), QTime(0, 0));
        const QStringList dates = {
            QStringLiteral("2026/12/06 23:59:59"), QStringLiteral("2026/12/07 00:00:00"),
            QStringLiteral("garbage"),             QStringLiteral("2026-12-01T10:00:00x"),
            QString(),                             QStringLiteral("2026/12/05 10:00:00"),
            QStringLiteral("2026/12/08 10:00:00"),
        };
        for (const QString &date : dates) {
            device->addMeasurementHistory(sampleResult(date), 1);
            device->addAlertRecord(record(date), 1);
        }
        for (int i = 0; i < 5; ++i)
            device->addErrorMessage(QStringLiteral("message %1").arg(i), 1);
        // A position past the plan is not pruned.
        device->addMeasurementHistory(sampleResult(dates.at(0)), 2);

        QCOMPARE(LogPurge::pruneResults(device.get(), cutoff), 3);
        QCOMPARE(LogPurge::pruneAlertRecords(device.get(), cutoff), 3);
        const QStringList kept = {dates.at(1), dates.at(2), dates.at(4), dates.at(6)};
        QCOMPARE(device->measurementHistoryCount(1), kept.size());
        QCOMPARE(device->alertRecordCount(1), kept.size());
        for (int i = 0; i < kept.size(); ++i) {
            QCOMPARE(device->measurementHistory(1, i).dateTime, kept.at(i));
            QCOMPARE(device->alertRecord(1, i).dateTime, kept.at(i));
        }
        // Messages 0 and 3 went with their records; message 5 and 6 never existed.
        QCOMPARE(device->errorMessageCount(1), 3);
        QCOMPARE(device->joinedErrorMessages(1), QStringLiteral("message 1message 2message 4"));
        QCOMPARE(device->measurementHistoryCount(2), 1);
    }

    // Results follow their channel to its new position; a channel that left the plan loses
    // its results, a new one starts empty.
    void storedResultsMoveWithTheirChannel()
    {
        auto device = makeDevice();
        for (const QString &channel : {QStringLiteral("13"), QStringLiteral("14"), QStringLiteral("15")}) {
            ChannelSettingRow plan;
            plan.channel = channel;
            device->addChannelSetting(plan);
        }
        device->addMeasurementHistory(sampleResult(QStringLiteral("2026/12/10 09:00:00"), QStringLiteral("13"), "60.0"), 0);
        device->addMeasurementHistory(sampleResult(QStringLiteral("2026/12/10 09:00:05"), QStringLiteral("13"), "61.0"), 0);
        device->addMeasurementHistory(sampleResult(QStringLiteral("2026/12/10 09:00:01"), QStringLiteral("14"), "50.0"), 1);
        device->addMeasurementHistory(sampleResult(QStringLiteral("2026/12/10 09:00:02"), QStringLiteral("15"), "40.0"), 2);

        device->clearChannelSettings();
        for (const QString &channel : {QStringLiteral("15"), QStringLiteral("20"), QStringLiteral("13")}) {
            ChannelSettingRow plan;
            plan.channel = channel;
            device->addChannelSetting(plan);
        }
        device->moveStoredResultsToChannelSettings(50);
        QCOMPARE(device->measurementHistoryCount(0), 1);
        QCOMPARE(device->measurementHistory(0, 0).level, QStringLiteral("40.0"));
        QCOMPARE(device->measurementHistoryCount(1), 0);
        QCOMPARE(device->measurementHistoryCount(2), 2);
        QCOMPARE(device->measurementHistory(2, 1).dateTime, QStringLiteral("2026/12/10 09:00:05"));
        QCOMPARE(device->measurementHistory(2, 1).level, QStringLiteral("61.0"));

        device->clearMeasurementHistory();
        QCOMPARE(device->measurementHistoryCount(2), 0);
    }
};

QTEST_MAIN(TestStoredResults)
#include "tst_storedresults.moc"
