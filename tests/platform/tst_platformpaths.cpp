// ctest-label: core
#include "platform/PlatformPaths.h"
#include "platform/SocketLayer.h"

#include <QTemporaryDir>
#include <QtTest>

class TestPlatformPaths : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        qputenv("NRT52_ROOT", m_root.path().toUtf8());
    }

    void mapping_data()
    {
        QTest::addColumn<QString>("windows");
        QTest::addColumn<QString>("relativeToRoot");
        QTest::addColumn<bool>("underRoot");
        QTest::newRow("fixed ini") << "C:\\VELMORA\\NRT52\\InternalReadOnly\\CheckerSettings\\application_setting.ini"
                                   << "InternalReadOnly/CheckerSettings/application_setting.ini" << true;
        QTest::newRow("fixed, other case") << "c:\\velmora\\nrt52\\InternalReadOnly\\Mibs\\Vm"
                                           << "InternalReadOnly/Mibs/Vm" << true;
        QTest::newRow("other drive") << "D:\\logs\\Data" << "drive_d/logs/Data" << true;
        QTest::newRow("relative") << "Data\\LOG" << "Data/LOG" << false;
        QTest::newRow("plain") << "Data" << "Data" << false;
    }

    void mapping()
    {
        QFETCH(QString, windows);
        QFETCH(QString, relativeToRoot);
        QFETCH(bool, underRoot);
        const QString expected = underRoot ? m_root.path() + "/" + relativeToRoot : relativeToRoot;
        QCOMPARE(PlatformPaths::toLocal(windows), expected);
    }

    void fixedFolders()
    {
        QCOMPARE(PlatformPaths::checkerSettingsFolder(), m_root.path() + "/InternalReadOnly/CheckerSettings");
        QCOMPARE(PlatformPaths::mibFolder(), m_root.path() + "/InternalReadOnly/Mibs/Vm");
    }

    void socketLayer()
    {
        QVERIFY(SocketLayer::start());
        QVERIFY(SocketLayer::isStarted());
        QVERIFY(SocketLayer::boundPort() > 0);
        QVERIFY(SocketLayer::start()); // a second start keeps the one socket
        SocketLayer::stop();
        QVERIFY(!SocketLayer::isStarted());
        QCOMPARE(SocketLayer::boundPort(), 0);
    }

private:
    QTemporaryDir m_root;
};

QTEST_GUILESS_MAIN(TestPlatformPaths)
#include "tst_platformpaths.moc"
