// ctest-label: core
#include "core/ApplicationSetting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestApplicationSetting : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    int m_fileCount = 0;

    // A fresh file name per case: QSettings caches parsed files by name.
    QString writeIni(const QByteArray &content)
    {
        const QString path = m_root.filePath(QStringLiteral("case%1.ini").arg(++m_fileCount));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write(content);
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        qputenv("NRT52_ROOT", m_root.path().toUtf8());
    }

    void filePathUnderRoot()
    {
        QCOMPARE(ApplicationSetting::filePath(),
                 m_root.path() + QStringLiteral("/InternalReadOnly/CheckerSettings/application_setting.ini"));
    }

    void noFile()
    {
        const ApplicationSetting s = ApplicationSetting::readFile(m_root.filePath(QStringLiteral("missing.ini")));
        for (int value : {s.firstRecv, s.powerRecv, s.uhfRecv, s.bsRecv, s.csRecv, s.catvRecv,
                          s.skyperfectvRecv, s.jcsatRecv, s.sccRecv, s.lteRecv, s.fmRecv, s.pilotRecv,
                          s.threadSleep, s.chMonitoring, s.oneYearFlg, s.channelCountFlg})
            QCOMPARE(value, 0);
        QCOMPARE(s.rebootFlg, true);
        QCOMPARE(s.rebootTime, QStringLiteral("2:00:00"));
        QCOMPARE(s.rebootStopSec, 300);
        QCOMPARE(s.data, QString());
    }

    void everyKey()
    {
        const QString path = writeIni(
            "[PollingInterval]\r\nFirstRecv=1001\r\nPowerRecv=1002\r\nUhfRecv=4003\r\nBsRecv=4004\r\n"
            "CsRecv=4005\r\nCatvRecv=4006\r\nSkyperfectvRecv=4007\r\nJcsatRecv=4008\r\nSccRecv=4009\r\n"
            "LteRecv=4010\r\nFmRecv=4011\r\nPilotRecv=4012\r\n\r\n[Thread]\r\nThreadSleep=500\r\n\r\n"
            "[ChMonitoring]\r\nChMonitoring=1\r\n\r\n[Reboot]\r\nRebootFlg=true\r\nRebootTime=23:58:00\r\n"
            "RebootStopSec=120\r\n\r\n[MeasureResultLog]\r\nData=\xe6\xb8\xac\xe5\xae\x9a\xe3\x83\xad\xe3\x82\xb0\r\n"
            "OneYearFlg=1\r\n\r\n[ChannelCountChange]\r\nChannelCountFlg=1\r\n");
        const ApplicationSetting s = ApplicationSetting::readFile(path);
        QCOMPARE(s.firstRecv, 1001);
        QCOMPARE(s.powerRecv, 1002);
        QCOMPARE(s.uhfRecv, 4003);
        QCOMPARE(s.bsRecv, 4004);
        QCOMPARE(s.csRecv, 4005);
        QCOMPARE(s.catvRecv, 4006);
        QCOMPARE(s.skyperfectvRecv, 4007);
        QCOMPARE(s.jcsatRecv, 4008);
        QCOMPARE(s.sccRecv, 4009);
        QCOMPARE(s.lteRecv, 4010);
        QCOMPARE(s.fmRecv, 4011);
        QCOMPARE(s.pilotRecv, 4012);
        QCOMPARE(s.threadSleep, 500);
        QCOMPARE(s.chMonitoring, 0); // left to the start-up loading
        QCOMPARE(s.rebootFlg, true);
        QCOMPARE(s.rebootTime, QStringLiteral("23:58:00"));
        QCOMPARE(s.rebootStopSec, 120);
        QCOMPARE(s.data, QStringLiteral("測定ログ"));
        QCOMPARE(s.oneYearFlg, 1);
        QCOMPARE(s.channelCountFlg, 1);
    }

    void clampsNothing()
    {
        const ApplicationSetting s = ApplicationSetting::readFile(
            writeIni("[PollingInterval]\nFirstRecv=5\nUhfRecv=999999\nBsRecv=abc\n[Thread]\nThreadSleep=-7\n"));
        QCOMPARE(s.firstRecv, 5);
        QCOMPARE(s.uhfRecv, 999999);
        QCOMPARE(s.bsRecv, 0);
        QCOMPARE(s.threadSleep, -7);
    }

    void reboot_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<bool>("flag");
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("stopSec");

        const QString def = QStringLiteral("2:00:00");
        QTest::newRow("group empty") << QByteArray() << true << def << 300;
        QTest::newRow("flag 0") << QByteArray("RebootFlg=0") << false << def << 300;
        QTest::newRow("flag false") << QByteArray("RebootFlg=false") << false << def << 300;
        QTest::newRow("flag FALSE") << QByteArray("RebootFlg=FALSE") << false << def << 300;
        QTest::newRow("flag False") << QByteArray("RebootFlg=False") << false << def << 300;
        QTest::newRow("flag 1") << QByteArray("RebootFlg=1") << true << def << 300;
        QTest::newRow("flag no") << QByteArray("RebootFlg=no") << true << def << 300;
        QTest::newRow("flag empty") << QByteArray("RebootFlg=") << true << def << 300;
        QTest::newRow("flag 00") << QByteArray("RebootFlg=00") << true << def << 300;
        QTest::newRow("time 3:5:7") << QByteArray("RebootTime=3:5:7") << true << "3:5:7" << 300;
        QTest::newRow("time 25:00:00") << QByteArray("RebootTime=25:00:00") << true << def << 300;
        QTest::newRow("time 3:60:00") << QByteArray("RebootTime=3:60:00") << true << def << 300;
        QTest::newRow("time 3:00") << QByteArray("RebootTime=3:00") << true << def << 300;
        QTest::newRow("time 24:00:00") << QByteArray("RebootTime=24:00:00") << true << "24:00:00" << 300;
        QTest::newRow("time 1:2:3:4") << QByteArray("RebootTime=1:2:3:4") << true << "1:2:3" << 300;
        QTest::newRow("time empty") << QByteArray("RebootTime=") << true << def << 300;
        QTest::newRow("stop empty") << QByteArray("RebootStopSec=") << true << def << 300;
        QTest::newRow("stop not a number") << QByteArray("RebootStopSec=abc") << true << def << 0;
        QTest::newRow("stop 0") << QByteArray("RebootStopSec=0") << true << def << 0;
        QTest::newRow("stop 600") << QByteArray("RebootStopSec=600") << true << def << 600;
        QTest::newRow("all three") << QByteArray("RebootFlg=false\nRebootTime=4:30:00\nRebootStopSec=60")
                                   << false << "4:30:00" << 60;
    }

    void reboot()
    {
        QFETCH(QByteArray, lines);
        QFETCH(bool, flag);
        QFETCH(QString, time);
        QFETCH(int, stopSec);
        const ApplicationSetting s = ApplicationSetting::readFile(writeIni("[Reboot]\n" + lines + "\n"));
        QCOMPARE(s.rebootFlg, flag);
        QCOMPARE(s.rebootTime, time);
        QCOMPARE(s.rebootStopSec, stopSec);
    }

    void channelCount_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("flag");
        QTest::newRow("1") << QByteArray("ChannelCountFlg=1") << 1;
        QTest::newRow("2") << QByteArray("ChannelCountFlg=2") << 2;
        QTest::newRow("0") << QByteArray("ChannelCountFlg=0") << 0;
        QTest::newRow("not a number") << QByteArray("ChannelCountFlg=x") << 0;
        QTest::newRow("missing") << QByteArray() << 0;
    }

    void channelCount()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, flag);
        const ApplicationSetting s = ApplicationSetting::readFile(writeIni("[ChannelCountChange]\n" + line + "\n"));
        QCOMPARE(s.channelCountFlg, flag);
    }
};

QTEST_GUILESS_MAIN(TestApplicationSetting)
#include "tst_applicationsetting.moc"
