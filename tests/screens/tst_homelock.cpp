// ctest-label: frame
// The single-instance lock: a second instance is refused with its message, touches no
// settings file, and closes without question; the lock holds however long the first
// instance runs, and a lock left by a crashed run is taken over.
#include "FrameHost.h"

#include "monitor/DeviceList.h"
#include "screens/HomeViewModel.h"

#include <QLockFile>
#include <QProcess>
#include <QQuickItem>
#include <QSysInfo>

namespace {

const QByteArray Registration =
    QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
                   "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)\r\n"
                   "1,A,127.0.0.2:16161,同軸,連続,常時,常時,1550,,,,1,MER,MER\r\n")
        .toUtf8();

QObject *findText(QQuickItem *item, const QString &text)
{
    if (!item)
        return nullptr;
    if (item->property("text").toString() == text)
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (QObject *found = findText(child, text))
            return found;
    }
    return nullptr;
}

} // namespace

class TestHomeLock : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FrameRoot> root;
    bool tmpdirWasSet = false;
    QByteArray tmpdirAtStart;

private slots:
    void initTestCase()
    {
        QmlMessageGuard::install();
        tmpdirWasSet = qEnvironmentVariableIsSet("TMPDIR");
        tmpdirAtStart = qgetenv("TMPDIR");
    }

    void init()
    {
        root.reset(new FrameRoot);
        QVERIFY(root->prepare());
        QVERIFY(root->writeSetting("DeviceRegistSetting.csv", Registration));
    }

    void cleanup()
    {
        root.reset();
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }

    void lockFollowsTheTemporaryFolder()
    {
        QCOMPARE(HomeViewModel::lockFilePath(), root->path() + QStringLiteral("/tmp/nrt52.lock"));
    }

    // A root made while another lives stands beside it: made inside the other's temporary
    // folder, it would go with the other's removal and come back, never removed, at its own
    // set-up.
    void secondRootStandsBesideTheFirst()
    {
        FrameRoot second;
        QVERIFY(second.prepare());
        QVERIFY2(!second.path().startsWith(root->path() + QLatin1Char('/')), qPrintable(second.path()));
    }

    // A removed root gives TMPDIR back: pointing into the removed folder, it would leave Qt
    // no temporary folder, and the next roots would be made elsewhere.
    void removedRootRestoresTheTemporaryFolder()
    {
        root.reset();
        QCOMPARE(qEnvironmentVariableIsSet("TMPDIR"), tmpdirWasSet);
        QCOMPARE(qgetenv("TMPDIR"), tmpdirAtStart);
        const QString temporary = QDir::tempPath();
        QVERIFY2(QFileInfo(temporary).isDir(), qPrintable(temporary));
        root.reset(new FrameRoot);
        QVERIFY(root->prepare());
        QVERIFY2(root->path().startsWith(temporary + QLatin1Char('/')), qPrintable(root->path()));
    }

    void secondInstanceIsRefused()
    {
        QLockFile first(HomeViewModel::lockFilePath());
        QVERIFY(first.tryLock(0));
        const QDateTime before = QFileInfo(root->registrationPath()).lastModified();

        FrameHost host;
        QVERIFY(host.isValid());
        auto *home = qobject_cast<HomeViewModel *>(host.frame->viewModelOf(QStringLiteral("Home")));
        QVERIFY(home->isLockFailed());
        QCOMPARE(host.app->deviceList()->deviceCount(), 0);
        QVERIFY(!root->logMessages().contains("[HomeViewModel] Enter DeviceListFileRead"));

        // The message is up as soon as the home screen is activated; no screen change is logged.
        QObject *popup = host.child("lockPopup");
        QVERIFY(popup);
        QVERIFY(popup->property("opened").toBool() || popup->property("visible").toBool());
        auto *contents = popup->property("contentItem").value<QQuickItem *>();
        QVERIFY(contents);
        QVERIFY(findText(contents, QStringLiteral("多重起動禁止のため、アプリを終了します。")));
        QVERIFY(!root->readFile(root->workLogPath()).contains(QStringLiteral("ホーム画面へ遷移").toUtf8()));

        // OK: the window closes without question; the close stops and writes nothing.
        QTRY_VERIFY(host.window->isVisible());
        auto *ok = qobject_cast<QQuickItem *>(host.child("lockOkButton"));
        QVERIFY(ok);
        QTRY_VERIFY(popup->property("opened").toBool());
        const QPointF centre = ok->mapToScene(QPointF(ok->width() / 2, ok->height() / 2));
        QTest::mouseClick(host.window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
        QVERIFY(host.frame->isAppPlayNg());
        QVERIFY(host.window->property("appPlayNg").toBool());
        QTRY_VERIFY(!host.window->isVisible());
        QTRY_COMPARE(host.quitRequests, 1);
        QVERIFY(!host.child("messagePopup")->property("opened").toBool());
        QMetaObject::invokeMethod(host.window, "buttonClicked", Q_ARG(QString, QStringLiteral("closewindow")));
        QCOMPARE(root->readFile(root->registrationPath()), Registration);
        QCOMPARE(QFileInfo(root->registrationPath()).lastModified(), before);
        QVERIFY(!root->logMessages().contains("[MainFrameViewModel] 測定中のレベルチェッカーを停止する"));
    }

    void lockHoldsForTheWholeRun()
    {
        ApplicationModel app(0, nullptr);
        {
            HomeViewModel first(ScreenHome, &app, nullptr);
            QVERIFY(!first.isLockFailed());
            QCOMPARE(app.deviceList()->deviceCount(), 1);
            // However long the first instance has run: an old lock of a live owner holds.
            QFile lock(HomeViewModel::lockFilePath());
            QVERIFY(lock.open(QIODevice::ReadWrite));
            QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
            lock.close();
            HomeViewModel second(ScreenHome, &app, nullptr);
            QVERIFY(second.isLockFailed());
            QCOMPARE(app.deviceList()->deviceCount(), 1);
        }
        // Released with the first instance.
        HomeViewModel third(ScreenHome, &app, nullptr);
        QVERIFY(!third.isLockFailed());
    }

    void lockOfACrashedRunIsTakenOver()
    {
        QProcess gone;
        gone.start(QStringLiteral("true"), QStringList());
        QVERIFY(gone.waitForStarted());
        const qint64 pid = gone.processId();
        QVERIFY(gone.waitForFinished());
        QFile lock(HomeViewModel::lockFilePath());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(pid) + "\nnrt52\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();

        ApplicationModel app(0, nullptr);
        HomeViewModel home(ScreenHome, &app, nullptr);
        QVERIFY(!home.isLockFailed());
        QCOMPARE(app.deviceList()->deviceCount(), 1);
    }
};

QTEST_MAIN(TestHomeLock)
#include "tst_homelock.moc"
