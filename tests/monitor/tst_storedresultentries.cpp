// ctest-label: monitor
// The held results in their compact form come back text for text at the edges of that form:
// moments at the ends of the packed range and outside it, more distinct texts than a compact
// entry can name, and the same after a prune, a removal and a regroup of the lists.

#include "monitor/StoredResultHistory.h"
#include "support/ResultSamples.h"

#include <QtTest>

Q_DECLARE_METATYPE(ChannelResultRow)

namespace {
// Of the fourth band, the level before the channel.
ChannelResultRow result(const QString &dateTime, const QString &level = QStringLiteral("65.2"),
                        const QString &channel = QStringLiteral("13"))
{
    return sampleResult(dateTime, channel, level, 3);
}

QString describe(const ChannelResultRow &r)
{
    return QStringList{QString::number(r.bandTabIndex), r.channel, r.dateTime, r.level, r.merCn, r.ber,
                       r.hikariLevel, r.modulation, r.layer, r.extraValue, r.broadcastStandard,
                       QString::number(r.convertedCn)}
        .join(QLatin1Char('|'));
}

QStringList contents(const StoredResultHistory &history, int channel)
{
    QStringList rows;
    for (int i = 0; i < history.count(channel); ++i)
        rows << describe(history.at(channel, i));
    return rows;
}
} // namespace

class TestStoredResultEntries : public QObject
{
    Q_OBJECT

private slots:
    void dateTimesComeBackExactly_data()
    {
        QTest::addColumn<QString>("dateTime");
        QTest::newRow("first packed moment") << QStringLiteral("2000/01/01 00:00:00");
        QTest::newRow("last second before it") << QStringLiteral("1999/12/31 23:59:59");
        QTest::newRow("leap day") << QStringLiteral("2028/02/29 12:34:56");
        QTest::newRow("last packed day") << QStringLiteral("2136/02/07 06:28:15");
        QTest::newRow("one second past the packed range") << QStringLiteral("2136/02/07 06:28:16");
        QTest::newRow("far future") << QStringLiteral("9999/12/31 23:59:59");
        QTest::newRow("year one") << QStringLiteral("0001/01/01 00:00:00");
        QTest::newRow("leap second") << QStringLiteral("2026/12/31 23:59:60");
        QTest::newRow("empty") << QString();
        QTest::newRow("not a moment") << QStringLiteral("2026/02/30 10:00:00");
        QTest::newRow("longer") << QStringLiteral("2026/12/10 09:15:03.5");
    }

    void dateTimesComeBackExactly()
    {
        QFETCH(QString, dateTime);
        StoredResultHistory history(2);
        history.append(1, result(QStringLiteral("2026/12/10 09:00:00")));
        history.append(1, result(dateTime));
        QCOMPARE(history.count(1), 2);
        QCOMPARE(describe(history.at(1, 1)), describe(result(dateTime)));
        QCOMPARE(describe(history.at(1, 0)), describe(result(QStringLiteral("2026/12/10 09:00:00"))));
    }

    // More distinct values than a compact entry names: every result still comes back, before
    // and after a prune, a removal and a regroup.
    void manyDistinctTextsComeBack()
    {
        StoredResultHistory history(3);
        QStringList expected[3];
        const QDateTime start(QDate(2026, 12, 1), QTime(0, 0));
        constexpr int kCount = 70000;
        // Channel 2 first takes up every number of the compact form, with results that no
        // prune below reaches; the results after it are held in full.
        for (int i = 0; i < 65600; ++i) {
            const ChannelResultRow row = result(QStringLiteral("2027/01/01 00:00:00"), QStringLiteral("p%1").arg(i));
            history.append(2, row);
            expected[2] << describe(row);
        }
        for (int i = 0; i < kCount; ++i) {
            const int channel = i % 2;
            ChannelResultRow row = result(start.addSecs(i * 10).toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")),
                                          QString::number(i), QStringLiteral("ch%1").arg(i % 7));
            row.convertedCn = i % 3 == 0;
            if (i % 1000 == 0)
                row.dateTime = QStringLiteral("no moment %1").arg(i);
            history.append(channel, row);
            expected[channel] << describe(row);
        }
        for (int channel = 0; channel < 3; ++channel)
            QCOMPARE(contents(history, channel), expected[channel]);

        // Everything before the cut-off goes, the texts that name no moment stay.
        const QDateTime cutoff = start.addSecs(kCount * 10 * 3 / 4);
        for (int channel = 0; channel < 2; ++channel) {
            QStringList kept;
            for (const QString &row : qAsConst(expected[channel])) {
                const QString dateTime = row.section(QLatin1Char('|'), 2, 2);
                const qint64 stamp = StoredResultHistory::leadingMomentStamp(dateTime);
                if (stamp < 0 || stamp >= StoredResultHistory::momentStamp(cutoff))
                    kept << row;
            }
            QCOMPARE(history.dropBefore(channel, cutoff), expected[channel].size() - kept.size());
            expected[channel] = kept;
            QCOMPARE(contents(history, channel), expected[channel]);
        }

        QCOMPARE(contents(history, 2), expected[2]);

        history.removeAt(1, 0);
        expected[1].removeFirst();
        history.regroup({{1, 0}, {}, {0}});
        QCOMPARE(contents(history, 0), expected[1] + expected[0]);
        QCOMPARE(history.count(1), 0);
        QCOMPARE(contents(history, 2), expected[0]);
        // The prune of the copies drops the same results from both.
        QStringList undated;
        for (const QString &row : expected[1] + expected[0]) {
            if (StoredResultHistory::leadingMomentStamp(row.section(QLatin1Char('|'), 2, 2)) < 0)
                undated << row;
        }
        QCOMPARE(history.dropBefore(0, start.addSecs(kCount * 10)), expected[1].size() + expected[0].size() - undated.size());
        QCOMPARE(contents(history, 0), undated);
        QCOMPARE(contents(history, 2), expected[0]);
        history.append(1, result(QStringLiteral("2026/12/20 00:00:00"), QStringLiteral("new text")));
        QCOMPARE(describe(history.at(1, 0)), describe(result(QStringLiteral("2026/12/20 00:00:00"), QStringLiteral("new text"))));

        history.clear();
        QCOMPARE(history.count(0), 0);
        history.append(0, result(QStringLiteral("2026/12/21 00:00:00")));
        QCOMPARE(describe(history.at(0, 0)), describe(result(QStringLiteral("2026/12/21 00:00:00"))));
    }
};

QTEST_MAIN(TestStoredResultEntries)
#include "tst_storedresultentries.moc"
