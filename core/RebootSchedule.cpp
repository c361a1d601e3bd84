#include "core/RebootSchedule.h"

#include <QStringList>

namespace {
constexpr int kDayMs = 86400000;
constexpr int kRebootWindowSec = 59;
constexpr int kRestartWindowSec = 180;

int field(const QStringList &fields, int i)
{
    return fields.value(i).toInt(); // not a number reads as 0
}

bool fieldsValid(const QStringList &f)
{
    if (f.size() < 3)
        return false;
    const int h = field(f, 0), m = field(f, 1), s = field(f, 2);
    return h >= 0 && h <= 23 && m >= 0 && m <= 59 && s >= 0 && s <= 59;
}

int msOfDay(const QStringList &f)
{
    return ((field(f, 0) * 60 + field(f, 1)) * 60 + field(f, 2)) * 1000;
}

QTime toTime(const QString &text)
{
    const QStringList f = text.split(QLatin1Char(':'));
    if (!fieldsValid(f))
        return QTime();
    return QTime(field(f, 0), field(f, 1), field(f, 2));
}
} // namespace

bool RebootSchedule::isValidTime(const QString &time)
{
    return fieldsValid(time.split(QLatin1Char(':')));
}

QString RebootSchedule::addSecondsToTime(const QString &time, int seconds)
{
    const QStringList f = time.split(QLatin1Char(':'));
    if (f.size() < 3)
        return time;
    if (!fieldsValid(f))
        return QStringLiteral("-1:-1:-1");
    qint64 ms = msOfDay(f) + qint64(seconds) * 1000;
    ms %= kDayMs;
    if (ms < 0)
        ms += kDayMs;
    const int total = int(ms / 1000);
    return QString::asprintf("%02d:%02d:%02d", total / 3600, (total / 60) % 60, total % 60);
}

bool RebootSchedule::isTimeReached(const QString &now, const QString &target, int windowSec)
{
    const QStringList n = now.split(QLatin1Char(':'));
    const QStringList t = target.split(QLatin1Char(':'));
    if (n.size() != t.size() || n.size() <= 2)
        return false;
    if (!fieldsValid(t))
        return true;
    const int a = msOfDay(n);
    const int b = msOfDay(t);
    const int d = b <= a ? a - b : kDayMs - (b - a);
    return d < windowSec * 1000;
}

bool RebootSchedule::isTimeReachedAfterStop(const QString &now, const QString &target, int windowSec)
{
    const QStringList n = now.split(QLatin1Char(':'));
    const QStringList t = target.split(QLatin1Char(':'));
    if (n.size() != t.size() || n.size() <= 2)
        return false;
    int d = msOfDay(n) - msOfDay(t);
    if (!fieldsValid(n) || !fieldsValid(t))
        d = 0;
    const int window = windowSec * 1000;
    return (d > 0 && d < window) || (d < 0 && d + kDayMs < window);
}

void RebootSchedule::reset(const QDate &date, const QTime &now)
{
    Q_UNUSED(date)
    m_inProgress = false;
    m_lastTick = now;
    m_lastRebootDate = QDate();
    m_restartAt = QTime();
}

bool RebootSchedule::crossed(const QTime &now, const QTime &target) const
{
    if (!m_lastTick.isValid() || !target.isValid())
        return false;
    const int last = m_lastTick.msecsSinceStartOfDay();
    const int cur = now.msecsSinceStartOfDay();
    const int t = target.msecsSinceStartOfDay();
    if (last <= cur)
        return t > last && t <= cur;
    return t > last || t <= cur; // the ticks stepped over midnight
}

RebootSchedule::Action RebootSchedule::tick(const QDate &date, const QTime &now,
                                            const QString &rebootTime, int stopSec)
{
    Action action = Action::None;
    const QString nowText = now.toString(QStringLiteral("hh:mm:ss"));
    if (!m_inProgress) {
        // An invalid time (such as 24:00:00) never reboots: it would stop every device at
        // the first tick and never bring them back.
        const QTime target = toTime(rebootTime);
        const bool due = target.isValid()
                         && (isTimeReached(nowText, rebootTime, kRebootWindowSec) || crossed(now, target));
        // Ticks drift past the window now and then; the crossing test keeps that day's
        // reboot, the date keeps it from running twice.
        const QDate rebootDate = now < target ? date.addDays(-1) : date;
        if (due && m_lastRebootDate != rebootDate) {
            m_inProgress = true;
            m_lastRebootDate = rebootDate;
            m_restartAt = toTime(addSecondsToTime(rebootTime, stopSec));
            action = Action::StopAndReboot;
        }
    } else {
        const QString restartText = m_restartAt.toString(QStringLiteral("hh:mm:ss"));
        if (m_restartAt.isValid()
            && (isTimeReachedAfterStop(nowText, restartText, kRestartWindowSec) || crossed(now, m_restartAt))) {
            m_inProgress = false;
            action = Action::Restart;
        }
    }
    m_lastTick = now;
    return action;
}
