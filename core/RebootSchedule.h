#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// The clock behind the daily stop-and-reboot of the devices. The application object ticks
// it about once a minute; it decides when to stop-and-reboot and when to restart.
class RebootSchedule
{
public:
    enum class Action { None, StopAndReboot, Restart };

    // Time texts: "h:mm:ss" fields; a field that is no number reads as 0.
    static QString addSecondsToTime(const QString &time, int seconds);
    static bool isTimeReached(const QString &now, const QString &target, int windowSec);
    static bool isTimeReachedAfterStop(const QString &now, const QString &target, int windowSec);
    // Valid: at least three fields, hour 0-23, minute and second 0-59.
    static bool isValidTime(const QString &time);

    // Starts watching from this moment: a reboot time that already passed today is not
    // made up for at start.
    void reset(const QDate &date, const QTime &now);

    // One tick. rebootTime and stopSec come from the current settings.
    Action tick(const QDate &date, const QTime &now, const QString &rebootTime, int stopSec);

    bool inProgress() const { return m_inProgress; }

private:
    // True when target lies in (previous tick, now], across midnight.
    bool crossed(const QTime &now, const QTime &target) const;

    bool m_inProgress = false;
    QTime m_lastTick;
    QDate m_lastRebootDate;
    QTime m_restartAt;
};
