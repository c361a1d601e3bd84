// ctest-label: results
// The daily logs of the result benchmark's workload, byte for byte: 50 devices with 50
// channels each, 2000 results within their thresholds and then 2000 below the level minimum.
// Every result, error and history file is compared with the recorded digest of the files the
// program wrote before its result path was made faster; only the day in the file names and
// the moment of the head lines (both the time of the run) are set aside.

#include "ResultListHost.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QtTest>

namespace {
constexpr int kDevices = 50;
constexpr int kChannels = 50;
constexpr int kResults = 2000;

QString replyAt(int i, const QString &level)
{
    const QString time = QTime(9, 0).addSecs(i).toString(QStringLiteral("hh:mm:ss"));
    return ResultListHost::reply("2026/12/10 " + time, "ISDBT", QString::number(13 + i % kChannels),
                                 level, "30.1", "<1.0E-8");
}

// The result log's first two head lines carry the moment the file was made.
QByteArray withoutHeadMoment(QByteArray bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    for (int i = 0; i < lines.size() && i < 2; ++i) {
        const int comma = lines.at(i).indexOf(',');
        if (comma > 0)
            lines[i] = lines.at(i).left(comma + 1) + "*";
    }
    return lines.join('\n');
}
}

class TestResultLogBytes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_host.prepare());
        QVERIFY(m_host.addDevices(kDevices, kChannels));
        m_handler = m_host.createHandler();
    }

    void cleanupTestCase() { m_host.teardown(); }

    void logsAreByteIdentical()
    {
        for (const QString &level : {QStringLiteral("60.0"), QStringLiteral("30.0")}) {
            for (int i = 0; i < kResults; ++i)
                m_handler->onNotifyResponse(uint((i / kChannels) % kDevices), replyAt(i, level));
        }
        const QString day = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
        QStringList listing;
        QDirIterator it(m_host.root(), {QStringLiteral("*.csv")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QString name = path.mid(m_host.root().size());
            if (!name.startsWith(QStringLiteral("/Data/")) && !name.startsWith(QStringLiteral("/InternalReadOnly/INDIVIDUAL_LOG/")))
                continue;
            name.replace(day, QStringLiteral("DAY"));
            QByteArray bytes = ResultListHost::readFile(path);
            if (name.startsWith(QStringLiteral("/Data/LOG/")))
                bytes = withoutHeadMoment(bytes);
            listing << QStringLiteral("%1 %2 %3")
                           .arg(name)
                           .arg(bytes.size())
                           .arg(QString::fromLatin1(
                               QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
        }
        listing.sort();
        QFile golden(TestPaths::sourceDir() + QStringLiteral("/tests/results/data/benchmark-logs.txt"));
        QVERIFY2(golden.open(QIODevice::ReadOnly), qPrintable(golden.fileName()));
        QStringList expected = QString::fromUtf8(golden.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (listing != expected) {
            for (const QString &line : qAsConst(listing)) {
                if (!expected.contains(line))
                    qWarning("differs: %s", qPrintable(line));
            }
        }
        QCOMPARE(listing.size(), 3 * (kResults / kChannels));
        QCOMPARE(listing, expected);
    }

private:
    ResultListHost m_host;
    NotifyResponse *m_handler = nullptr;
};

QTEST_MAIN(TestResultLogBytes)
#include "tst_resultlogbytes.moc"
