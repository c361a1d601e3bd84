// ctest-label: resultlist
// The operator's result and error saves on a disk that fills up (a file size limit on this
// process) and frees again: a save that cannot be written whole says so, leaves the file that
// was there as it was and no part-written file beside it; once there is room the same save
// is written whole.

#include "screens/ResultSaveWriter.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

class TestResultSaveFullDisk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_root.isValid()); }

    void fullDisk_data()
    {
        QTest::addColumn<bool>("errors");
        // Bytes the new file may take while the disk is full.
        QTest::addColumn<int>("room");
        QTest::addColumn<bool>("replacing");
        QTest::newRow("results, no room, new file") << false << 0 << false;
        QTest::newRow("results, head cut") << false << 9 << false;
        QTest::newRow("results, line cut, replacing") << false << 300 << true;
        QTest::newRow("errors, line cut, replacing") << true << 400 << true;
    }

    void fullDisk()
    {
        QFETCH(bool, errors);
        QFETCH(int, room);
        QFETCH(bool, replacing);
        const QString folder = m_root.path() + QStringLiteral("/%1").arg(++m_row);
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/保存.csv");
        const QByteArray before = "earlier save\n";
        if (replacing)
            QVERIFY(TestFiles::writeBytes(path, before));

        const QString header = errors ? ResultSaveWriter::errorHeader() : ResultSaveWriter::channelResultHeader();
        QStringList lines;
        for (int i = 0; i < 20; ++i)
            lines << QStringLiteral("%1,受信点,2026/12/11 09:00:%2,13,地デジ,473.142,65.2,30.1,<1.0E-8")
                         .arg(i + 1)
                         .arg(i, 2, 10, QLatin1Char('0'));
        {
            FileSizeLimit limit(room);
            QVERIFY(limit.isSet());
            QCOMPARE(ResultSaveWriter::writeFile(path, header, lines), ResultSaveWriter::Outcome::WriteFailed);
        }
        QCOMPARE(TestFiles::readBytes(path), replacing ? before : QByteArray());
        QCOMPARE(QDir(folder).entryList(QDir::Files), replacing ? QStringList({QStringLiteral("保存.csv")}) : QStringList());

        QCOMPARE(ResultSaveWriter::writeFile(path, header, lines), ResultSaveWriter::Outcome::Written);
        QCOMPARE(TestFiles::readBytes(path),
                 QTextCodec::codecForName("Shift-JIS")->fromUnicode(header + QLatin1Char('\n')
                                                                     + lines.join(QLatin1Char('\n'))
                                                                     + QLatin1Char('\n')));
    }

private:
    QTemporaryDir m_root;
    int m_row = 0;
};

QTEST_MAIN(TestResultSaveFullDisk)
#include "tst_resultsavefulldisk.moc"
