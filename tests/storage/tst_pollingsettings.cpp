// ctest-label: core
// The polling intervals and monitoring flag as the screens read them (bounds), write them
// (other groups kept, failure reported) and hand them to the devices.
#include "storage/PollingSettings.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestPollingSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    int m_fileCount = 0;

    // A fresh file name per case: QSettings caches parsed files by name.
    QString iniPath() { return m_root.filePath(QStringLiteral("case%1.ini").arg(++m_fileCount)); }

private slots:
    void initTestCase() { QVERIFY(m_root.isValid()); }

    void bounds_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QList<int>>("expected"); // the twelve intervals, then the flag

        const QList<int> lowest { 1000, 1000, 4000, 4000, 4000, 4000, 4000, 4000, 4000, 4000, 4000, 4000, 0 };
        QTest::newRow("no file") << QByteArray() << lowest;
        QTest::newRow("values outside and inside the bounds")
            << QByteArray("[PollingInterval]\nFirstRecv=500\nPowerRecv=10001\nUhfRecv=3999\nBsRecv=4500\n"
                          "CsRecv=4500\nCatvRecv=abc\nPilotRecv=20000\n[ChMonitoring]\nChMonitoring=2\n")
            << QList<int> { 1000, 10000, 4000, 4500, 4500, 4000, 4000, 4000, 4000, 4000, 4000, 10000, 1 };
        QTest::newRow("negative flag, no intervals")
            << QByteArray("[ChMonitoring]\nChMonitoring=-1\n") << lowest;
        QTest::newRow("values that are not whole seconds stay")
            << QByteArray("[PollingInterval]\nFirstRecv=1234\nFmRecv=9999\n")
            << QList<int> { 1234, 1000, 4000, 4000, 4000, 4000, 4000, 4000, 4000, 4000, 9999, 4000, 0 };
    }

    void bounds()
    {
        QFETCH(QByteArray, content);
        QFETCH(QList<int>, expected);
        const QString path = iniPath();
        if (!content.isEmpty())
            QVERIFY(TestFiles::writeBytes(path, content));
        const PollingSettings s = PollingSettings::read(path);
        const QList<int> actual { s.firstRecv, s.powerRecv, s.uhfRecv, s.bsRecv, s.csRecv, s.catvRecv,
                                  s.skyperfectvRecv, s.jcsatRecv, s.sccRecv, s.lteRecv, s.fmRecv, s.pilotRecv,
                                  s.chMonitoring };
        QCOMPARE(actual, expected);
    }

    void channelCountFlagIsPassedAsRead()
    {
        const QString path = iniPath();
        QVERIFY(TestFiles::writeBytes(path, "[ChannelCountChange]\nChannelCountFlg=7\n"));
        PollingSettings s = PollingSettings::read(path);
        QCOMPARE(s.channelCountFlg, 7);

        ApplicationSetting setting;
        setting.threadSleep = 250;
        setting.data = QStringLiteral("D:\\Data");
        s.pilotRecv = 9000;
        s.copyInto(&setting);
        QCOMPARE(setting.channelCountFlg, 7);
        QCOMPARE(setting.pilotRecv, 9000);
        QCOMPARE(setting.firstRecv, 1000);
        QCOMPARE(setting.threadSleep, 250);
        QCOMPARE(setting.data, QStringLiteral("D:\\Data"));
    }

    void writeKeepsOtherGroups()
    {
        const QString path = iniPath();
        QVERIFY(TestFiles::writeBytes(path, "[Reboot]\nRebootTime=03:00:00\n[PollingInterval]\nUhfRecv=5000\n"
                                            "[ChannelCountChange]\nChannelCountFlg=1\n"));
        PollingSettings s = PollingSettings::read(path);
        s.firstRecv = 2000;
        s.bsRecv = 8000;
        s.chMonitoring = 1;
        QVERIFY(s.write(path));

        const PollingSettings back = PollingSettings::read(path);
        QVERIFY(back.sameIntervalsAndMode(s));
        QCOMPARE(back.uhfRecv, 5000);
        QSettings ini(path, QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("Reboot/RebootTime")).toString(), QStringLiteral("03:00:00"));
        QCOMPARE(ini.value(QStringLiteral("ChannelCountChange/ChannelCountFlg")).toInt(), 1);
    }

    void failedWriteIsReported()
    {
        // A folder where the file should be cannot be replaced by the file.
        const QString path = iniPath();
        QVERIFY(QDir().mkpath(path));
        QVERIFY(!PollingSettings().write(path));
    }
};

QTEST_GUILESS_MAIN(TestPollingSettings)
#include "tst_pollingsettings.moc"
