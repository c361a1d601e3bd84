// ctest-label: settings
// Saved on the system setting screen, new polling intervals reach simulated devices that
// are measuring: the next wait of each worker already has the new length, and nobody
// stopped or restarted them.
#include "SystemSettingFixture.h"

#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "support/SimDevices.h"

#include <QDateTime>

namespace {

struct Request {
    QDateTime time;
    QString text;
};

QList<Request> timedRequests(const SimDevices &sim, int device)
{
    QList<Request> out;
    for (const QString &line : sim.requestLog(device)) {
        const int space = line.indexOf(QLatin1Char(' '));
        if (space > 0)
            out.append({QDateTime::fromString(line.left(space), Qt::ISODateWithMs), line.mid(space + 1)});
    }
    return out;
}

// The waits between a channel's selection (its power-feed SET, the last one) and the
// result request that follows, with the time of the selection.
QList<QPair<QDateTime, qint64>> waits(const SimDevices &sim, int device)
{
    const QList<Request> log = timedRequests(sim, device);
    QList<QPair<QDateTime, qint64>> result;
    for (int i = 0; i + 1 < log.size(); ++i) {
        if (log.at(i).text.startsWith(QLatin1String("SET 3.8 ")) && log.at(i + 1).text == QLatin1String("GET 4.1"))
            result.append({log.at(i).time, log.at(i).time.msecsTo(log.at(i + 1).time)});
    }
    return result;
}

} // namespace

class TestSystemPolling : public QObject
{
    Q_OBJECT

private slots:
    void runningDevicesTakeTheNewWaits()
    {
        QmlMessageGuard::install();
        SimDevices sim;
        QVERIFY2(sim.start(2), qPrintable(sim.lastError()));
        SystemSettingFixture f;
        QVERIFY(f.root.prepare());
        // The lowest waits: 1 s after a band change, 4 s per terrestrial channel.
        QVERIFY(f.writeIni("[PollingInterval]\nFirstRecv=1000\nPowerRecv=1000\nUhfRecv=4000\n"
                           "[Thread]\nThreadSleep=100\n[ChMonitoring]\nChMonitoring=0\n"));
        QVERIFY(f.writeDevices(sim.addresses(), true));
        QVERIFY(f.start());
        DeviceList *devices = f.host->app->deviceList();
        QCOMPARE(devices->deviceCount(), 2);

        // Both measure with the old waits first.
        for (int device = 1; device <= 2; ++device)
            QTRY_VERIFY_WITH_TIMEOUT(!waits(sim, device).isEmpty(), 30000);

        f.open();
        QVERIFY(f.move(QStringLiteral("uhf"), 7));
        QVERIFY(f.move(QStringLiteral("first"), 2));
        const QDateTime saved = QDateTime::currentDateTime();
        QVERIFY(f.click(QStringLiteral("settingButton")));
        QCOMPARE(f.popupText(), QStringLiteral("設定を変更しました。"));

        for (int device = 1; device <= 2; ++device) {
            const auto before = waits(sim, device);
            for (const auto &w : before) {
                if (w.first < saved)
                    QVERIFY2(w.second < 6900, qPrintable(QString::number(w.second)));
            }
            // The first wait begun after the save is 7 s (9 s after a band change).
            QTRY_VERIFY_WITH_TIMEOUT(
                [&] {
                    for (const auto &w : waits(sim, device)) {
                        if (w.first > saved.addMSecs(200))
                            return true;
                    }
                    return false;
                }(),
                30000);
            for (const auto &w : waits(sim, device)) {
                if (w.first > saved.addMSecs(200))
                    QVERIFY2(w.second >= 7000 - 50, qPrintable(QStringLiteral("device %1: %2 ms").arg(device).arg(w.second)));
            }
            // The worker never left its measuring loop.
            QCOMPARE(devices->device(device - 1)->pollingLoopActive(), 1);
            QVERIFY(devices->device(device - 1)->isMonitoring());
        }
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
    }
};

QTEST_MAIN(TestSystemPolling)
#include "tst_systempolling.moc"
