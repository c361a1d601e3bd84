// ctest-label: frame
// The daily work history on a disk that fills up and frees again (a file size limit on this
// process, or its folder taken away): each entry goes in whole or not at all, a new file's
// head is whole before any entry, and each episode of loss is told to the application log
// once when it begins and once, with the number of entries lost, when writing works again.

#include "core/SystemLog.h"
#include "platform/AppendLossEpisodes.h"
#include "screens/WorkLog.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <memory>

namespace {
const QByteArray kHeaderBytes = QByteArray::fromHex(
    "93fa8e9e2c91ce8fdb8b408aed4e6f2c8dec8bc6979a97f02c42414e442c4348414e4e454c") + "\r\n";

WorkLogEntry entryOf(int n)
{
    WorkLogEntry e;
    e.deviceNo = n;
    e.band = QStringLiteral("BS右旋");
    e.channel = QStringLiteral("BS%1-").arg(n) + QString(30, QLatin1Char('a' + n % 26));
    return e;
}
} // namespace

class TestWorkLogFullDisk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_rootBefore = qgetenv("NRT52_ROOT");
        m_hadRoot = qEnvironmentVariableIsSet("NRT52_ROOT");
        qputenv("NRT52_ROOT", m_root.path().toUtf8());
        m_workingFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_root.path()));
        SystemLog::instance()->initialize(0, QStringLiteral("pcapplication.log"));
        m_sjis = QTextCodec::codecForName("Shift-JIS");
        QVERIFY(m_sjis);
    }

    void cleanupTestCase()
    {
        delete SystemLog::instance();
        QDir::setCurrent(m_workingFolder);
        if (m_hadRoot)
            qputenv("NRT52_ROOT", m_rootBefore);
        else
            qunsetenv("NRT52_ROOT");
    }

    void lossEpisodes_data()
    {
        QTest::addColumn<bool>("newFile");
        // Bytes of room left in the file while the disk is full; -1: its folder is blocked.
        QTest::addColumn<int>("room");
        QTest::addColumn<int>("episodes");
        QTest::addColumn<int>("lostPerEpisode");
        QTest::newRow("line cut, space back") << false << 5 << 1 << 2;
        QTest::newRow("room for no byte") << false << 0 << 1 << 1;
        QTest::newRow("second episode same day") << false << 9 << 2 << 3;
        QTest::newRow("folder blocked") << false << -1 << 2 << 2;
        QTest::newRow("folder blocked, new file") << true << -1 << 1 << 1;
    }

    void lossEpisodes()
    {
        QFETCH(bool, newFile);
        QFETCH(int, room);
        QFETCH(int, episodes);
        QFETCH(int, lostPerEpisode);

        const QDateTime moment(QDate(2024, 1, 1).addDays(++m_row), QTime(9, 15, 3));
        const QString folder = WorkLog::folderPath();
        const QString path = folder + QLatin1Char('/') + moment.toString(QStringLiteral("yyyyMMdd"))
                             + QStringLiteral(".csv");
        QByteArray expected = kHeaderBytes;
        int n = 0;
        auto write = [&](bool kept) {
            const WorkLogEntry entry = entryOf(++n);
            WorkLog::writeWorkLogAt(moment, entry, WorkLogErrorCleared);
            if (kept)
                expected += m_sjis->fromUnicode(moment.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"))
                                                + QLatin1Char(',')
                                                + WorkLog::messageText(entry, WorkLogErrorCleared)
                                                + QStringLiteral("\r\n"));
        };
        if (!newFile) {
            // Entries enough that the application log stays below any limit set here.
            for (int i = 0; i < 100; ++i)
                write(true);
        }
        for (int e = 0; e < episodes; ++e) {
            {
                std::unique_ptr<FileSizeLimit> limit;
                bool moved = false;
                if (room >= 0) {
                    limit.reset(new FileSizeLimit(QFileInfo(path).size() + room));
                    QVERIFY(limit->isSet());
                } else {
                    moved = QFileInfo::exists(folder) && QDir().rename(folder, folder + QStringLiteral(".away"));
                    QVERIFY(TestFiles::writeBytes(folder, "x"));
                }
                for (int i = 0; i < lostPerEpisode; ++i)
                    write(false);
                if (room < 0) {
                    QVERIFY(QFile::remove(folder));
                    QVERIFY(!moved || QDir().rename(folder + QStringLiteral(".away"), folder));
                }
            }
            write(true);
            write(true);
        }
        QCOMPARE(TestFiles::readBytes(path), expected);

        const QString log = QString::fromUtf8(TestFiles::readBytes(m_root.path() + QStringLiteral("/pcapplication.log")));
        QCOMPARE(log.count(QStringLiteral("log append failed: ") + path + QStringLiteral(" (")), episodes);
        QCOMPARE(log.count(AppendLossEpisodes::endText(path, lostPerEpisode)), episodes);
        QCOMPARE(log.count(path), 2 * episodes);
    }

    // A crash left the last entry or the head cut: the cut part goes before the next entry,
    // which is never glued to it, and a file without its whole head starts again.
    void cutByACrash_data()
    {
        QTest::addColumn<QByteArray>("left");
        QTest::addColumn<QByteArray>("kept");
        const QByteArray whole = "2024/03/01 09:15:03,whole\r\n";
        QTest::newRow("last entry cut") << kHeaderBytes + whole + "2024/03/01 09:1" << kHeaderBytes + whole;
        QTest::newRow("cut after its CR") << kHeaderBytes + whole + "2024/03/01 09:15:03,x\r"
                                          << kHeaderBytes + whole;
        QTest::newRow("head cut") << kHeaderBytes.left(9) << kHeaderBytes;
    }

    void cutByACrash()
    {
        QFETCH(QByteArray, left);
        QFETCH(QByteArray, kept);
        const QDateTime moment(QDate(2024, 3, 1).addDays(++m_row), QTime(9, 15, 3));
        const QString path = WorkLog::folderPath() + QLatin1Char('/')
                             + moment.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv");
        QVERIFY(TestFiles::writeBytes(path, left));
        const WorkLogEntry entry = entryOf(3);
        WorkLog::writeWorkLogAt(moment, entry, WorkLogErrorCleared);
        QCOMPARE(TestFiles::readBytes(path),
                 kept + m_sjis->fromUnicode(moment.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"))
                                            + QLatin1Char(',') + WorkLog::messageText(entry, WorkLogErrorCleared)
                                            + QStringLiteral("\r\n")));
    }

private:
    QTemporaryDir m_root;
    QByteArray m_rootBefore;
    bool m_hadRoot = false;
    QString m_workingFolder;
    QTextCodec *m_sjis = nullptr;
    int m_row = 0;
};

QTEST_MAIN(TestWorkLogFullDisk)
#include "tst_worklogfulldisk.moc"
