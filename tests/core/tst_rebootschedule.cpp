// ctest-label: core
#include "core/RebootSchedule.h"

#include <QtTest>

using Action = RebootSchedule::Action;
Q_DECLARE_METATYPE(RebootSchedule::Action)

class TestRebootSchedule : public QObject
{
    Q_OBJECT
private slots:
    void timeHelpers_data()
    {
        QTest::addColumn<QString>("fn");
        QTest::addColumn<QString>("now");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("window");
        QTest::addColumn<bool>("expected");
        QTest::newRow("reached across midnight") << "reached" << "00:00:30" << "23:59:50" << 59 << true;
        QTest::newRow("reached at the same second") << "reached" << "12:00:00" << "12:00:00" << 59 << true;
        QTest::newRow("reached 59 s late is too late") << "reached" << "02:00:59" << "2:00:00" << 59 << false;
        QTest::newRow("reached 58 s late") << "reached" << "02:00:58" << "2:00:00" << 59 << true;
        QTest::newRow("reached before the time") << "reached" << "01:59:59" << "2:00:00" << 59 << false;
        QTest::newRow("reached field counts differ") << "reached" << "12:00:00" << "12:00" << 59 << false;
        QTest::newRow("reached invalid target") << "reached" << "12:00:00" << "24:00:00" << 59 << true;
        QTest::newRow("after stop same second") << "after" << "12:00:00" << "12:00:00" << 180 << false;
        QTest::newRow("after stop 1 s") << "after" << "02:05:01" << "02:05:00" << 180 << true;
        QTest::newRow("after stop 179 s") << "after" << "02:07:59" << "02:05:00" << 180 << true;
        QTest::newRow("after stop 180 s") << "after" << "02:08:00" << "02:05:00" << 180 << false;
        QTest::newRow("after stop across midnight") << "after" << "00:01:00" << "23:59:30" << 180 << true;
    }

    void timeHelpers()
    {
        QFETCH(QString, fn);
        QFETCH(QString, now);
        QFETCH(QString, target);
        QFETCH(int, window);
        QFETCH(bool, expected);
        if (fn == "reached")
            QCOMPARE(RebootSchedule::isTimeReached(now, target, window), expected);
        else
            QCOMPARE(RebootSchedule::isTimeReachedAfterStop(now, target, window), expected);
    }

    void addSeconds_data()
    {
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "2:00:00" << 300 << "02:05:00";
        QTest::newRow("midnight") << "23:58:00" << 300 << "00:03:00";
        QTest::newRow("negative") << "0:00:10" << -20 << "23:59:50";
        QTest::newRow("invalid hour") << "24:00:00" << 300 << "-1:-1:-1";
        QTest::newRow("too few fields") << "2:00" << 300 << "2:00";
    }

    void addSeconds()
    {
        QFETCH(QString, time);
        QFETCH(int, seconds);
        QFETCH(QString, expected);
        QCOMPARE(RebootSchedule::addSecondsToTime(time, seconds), expected);
    }

    // Ticks about a minute apart; each row lists the tick times and the actions expected.
    void ticks_data()
    {
        QTest::addColumn<QString>("rebootTime");
        QTest::addColumn<int>("stopSec");
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QList<Action>>("actions");
        QTest::newRow("stop then restart")
            << "2:00:00" << 300
            << QStringList{"01:58:29", "01:59:30", "02:00:31", "02:01:32", "02:05:30", "02:06:31"}
            << QList<Action>{Action::None, Action::StopAndReboot, Action::None, Action::Restart, Action::None};
        QTest::newRow("tick steps over the 59 s window")
            << "2:00:00" << 300
            << QStringList{"01:58:58", "01:59:59", "02:01:00", "02:02:01"}
            << QList<Action>{Action::None, Action::StopAndReboot, Action::None};
        QTest::newRow("restart across midnight")
            << "23:58:00" << 300
            << QStringList{"23:56:29", "23:57:30", "23:58:31", "00:02:59", "00:03:30"}
            << QList<Action>{Action::None, Action::StopAndReboot, Action::None, Action::Restart};
        QTest::newRow("24:00:00 never stops the devices")
            << "24:00:00" << 300
            << QStringList{"09:59:00", "10:00:00", "10:01:00", "23:59:59", "00:00:30"}
            << QList<Action>{Action::None, Action::None, Action::None, Action::None};
        QTest::newRow("start after the reboot time does not reboot")
            << "2:00:00" << 300
            << QStringList{"02:00:10", "02:01:10", "02:02:10"}
            << QList<Action>{Action::None, Action::None};
    }

    void ticks()
    {
        QFETCH(QString, rebootTime);
        QFETCH(int, stopSec);
        QFETCH(QStringList, times);
        QFETCH(QList<Action>, actions);
        RebootSchedule schedule;
        QDate date(2026, 12, 10);
        // The first time is the start of the program; every later one is a tick.
        QTime previous = QTime::fromString(times.first(), "hh:mm:ss");
        schedule.reset(date, previous);
        QCOMPARE(actions.size(), times.size() - 1);
        for (int i = 1; i < times.size(); ++i) {
            const QTime now = QTime::fromString(times.at(i), "hh:mm:ss");
            if (now < previous)
                date = date.addDays(1);
            previous = now;
            QCOMPARE(schedule.tick(date, now, rebootTime, stopSec), actions.at(i - 1));
        }
    }

    void oncePerDay()
    {
        RebootSchedule schedule;
        const QDate day(2026, 12, 10);
        schedule.reset(day, QTime(1, 59, 0));
        QCOMPARE(schedule.tick(day, QTime(2, 0, 10), "2:00:00", 0), Action::StopAndReboot);
        QCOMPARE(schedule.tick(day, QTime(2, 0, 40), "2:00:00", 0), Action::Restart);
        // Still inside the 59 s window: the day's reboot has run.
        QCOMPARE(schedule.tick(day, QTime(2, 0, 50), "2:00:00", 0), Action::None);
        QCOMPARE(schedule.tick(day.addDays(1), QTime(2, 0, 20), "2:00:00", 0), Action::StopAndReboot);
    }
};

QTEST_GUILESS_MAIN(TestRebootSchedule)
#include "tst_rebootschedule.moc"
