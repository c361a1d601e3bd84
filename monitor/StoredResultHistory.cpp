#include "monitor/StoredResultHistory.h"

#include <algorithm>
#include <limits>

namespace {
const qint64 kEpochDay = QDate(2000, 1, 1).toJulianDay();
constexpr quint32 kCompactLimit = 0xFFFF;

int digitsAt(const QString &text, int position, int length)
{
    int value = 0;
    for (int i = position; i < position + length; ++i) {
        const ushort c = text.at(i).unicode();
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

qint64 stampOf(int year, int month, int day, int hour, int minute, int second)
{
    return ((((qint64(year) * 100 + month) * 100 + day) * 100 + hour) * 100 + minute) * 100 + second;
}

// Seconds since 2000/01/01 00:00:00 of a valid stamp, counted on the calendar (no zone);
// negative before it.
qint64 secondsOf(qint64 stamp)
{
    const int second = int(stamp % 100);
    stamp /= 100;
    const int minute = int(stamp % 100);
    stamp /= 100;
    const int hour = int(stamp % 100);
    stamp /= 100;
    const int day = int(stamp % 100);
    stamp /= 100;
    const int month = int(stamp % 100);
    const int year = int(stamp / 100);
    const qint64 days = QDate(year, month, day).toJulianDay() - kEpochDay;
    return days * 86400 + hour * 3600 + minute * 60 + second;
}

qint64 stampOfSeconds(quint32 seconds)
{
    int year = 0;
    int month = 0;
    int day = 0;
    QDate::fromJulianDay(kEpochDay + seconds / 86400).getDate(&year, &month, &day);
    const int inDay = int(seconds % 86400);
    return stampOf(year, month, day, inDay / 3600, inDay / 60 % 60, inDay % 60);
}
} // namespace

qint64 StoredResultHistory::momentStamp(const QString &text)
{
    if (text.size() != 19 || text.at(4) != QLatin1Char('/') || text.at(7) != QLatin1Char('/')
        || text.at(10) != QLatin1Char(' ') || text.at(13) != QLatin1Char(':')
        || text.at(16) != QLatin1Char(':'))
        return -1;
    return leadingMomentStamp(text);
}

qint64 StoredResultHistory::leadingMomentStamp(const QString &text)
{
    if (text.size() < 19)
        return -1;
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    const int hour = digitsAt(text, 11, 2);
    const int minute = digitsAt(text, 14, 2);
    const int second = digitsAt(text, 17, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0
        || !QDate::isValid(year, month, day) || !QTime::isValid(hour, minute, second))
        return -1;
    return ::stampOf(year, month, day, hour, minute, second);
}

qint64 StoredResultHistory::momentStamp(const QDateTime &moment)
{
    if (!moment.isValid())
        return -1;
    const QDate d = moment.date();
    const QTime t = moment.time();
    return ::stampOf(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

StoredResultHistory::StoredResultHistory(int channelCount)
    : m_channels(size_t(std::max(0, channelCount)))
{
    // Number 0 is the empty text, the most common one.
    m_texts.append(QString());
    m_textNumbers.insert(QString(), 0);
}

int StoredResultHistory::channelCount() const { return int(m_channels.size()); }

int StoredResultHistory::count(int channel) const { return int(m_channels.at(size_t(channel)).size()); }

quint32 StoredResultHistory::textNumber(const QString &text)
{
    if (text.isEmpty())
        return 0;
    const auto found = m_textNumbers.constFind(text);
    if (found != m_textNumbers.constEnd())
        return found.value();
    const quint32 number = quint32(m_texts.size());
    m_texts.append(text);
    m_textNumbers.insert(text, number);
    return number;
}

quint32 StoredResultHistory::profileNumber(const ChannelResultRow &row)
{
    Profile p;
    p.channel = textNumber(row.channel);
    p.modulation = textNumber(row.modulation);
    p.layer = textNumber(row.layer);
    p.extraValue = textNumber(row.extraValue);
    p.broadcastStandard = textNumber(row.broadcastStandard);
    p.bandTabIndex = row.bandTabIndex;
    p.convertedCn = row.convertedCn;
    const auto found = m_profileNumbers.constFind(p);
    if (found != m_profileNumbers.constEnd())
        return found.value();
    const quint32 number = quint32(m_profiles.size());
    m_profiles.append(p);
    m_profileNumbers.insert(p, number);
    return number;
}

QString StoredResultHistory::dateTimeText(qint64 stamp) const
{
    if (stamp < 0)
        return m_texts.at(int(-1 - stamp));
    // Fields from the right: ss, mm, hh, dd, MM, then the four year digits.
    QChar text[19];
    const int ends[] = {19, 16, 13, 10, 7};
    const char separators[] = {':', ':', ' ', '/', '/'};
    for (int field = 0; field < 5; ++field) {
        const int end = ends[field];
        text[end - 1] = QLatin1Char(char('0' + stamp % 10));
        stamp /= 10;
        text[end - 2] = QLatin1Char(char('0' + stamp % 10));
        stamp /= 10;
        text[end - 3] = QLatin1Char(separators[field]);
    }
    for (int i = 3; i >= 0; --i) {
        text[i] = QLatin1Char(char('0' + stamp % 10));
        stamp /= 10;
    }
    return QString(text, 19);
}

qint64 StoredResultHistory::stampOf(const Entry &e) const
{
    return e.wide ? m_wide.at(e.moment).stamp : stampOfSeconds(e.moment);
}

ChannelResultRow StoredResultHistory::at(int channel, int index) const
{
    const Entry &e = m_channels.at(size_t(channel)).at(size_t(index));
    quint32 profile = e.profile;
    quint32 level = e.level;
    quint32 merCn = e.merCn;
    quint32 ber = e.ber;
    quint32 hikariLevel = e.hikariLevel;
    if (e.wide) {
        const WideEntry &w = m_wide.at(e.moment);
        profile = w.profile;
        level = w.level;
        merCn = w.merCn;
        ber = w.ber;
        hikariLevel = w.hikariLevel;
    }
    const Profile &p = m_profiles.at(int(profile));
    ChannelResultRow row;
    row.bandTabIndex = p.bandTabIndex;
    row.channel = m_texts.at(int(p.channel));
    row.dateTime = dateTimeText(stampOf(e));
    row.level = m_texts.at(int(level));
    row.merCn = m_texts.at(int(merCn));
    row.ber = m_texts.at(int(ber));
    row.hikariLevel = m_texts.at(int(hikariLevel));
    row.modulation = m_texts.at(int(p.modulation));
    row.layer = m_texts.at(int(p.layer));
    row.extraValue = m_texts.at(int(p.extraValue));
    row.broadcastStandard = m_texts.at(int(p.broadcastStandard));
    row.convertedCn = p.convertedCn;
    return row;
}

void StoredResultHistory::appendTo(Entries &list, const Entry &e)
{
    // A quarter more each time, not double: the lists are many and long-lived.
    if (list.size() == list.capacity())
        list.reserve(list.capacity() + list.capacity() / 4 + 8);
    list.push_back(e);
}

void StoredResultHistory::append(int channel, const ChannelResultRow &row)
{
    WideEntry w;
    w.stamp = momentStamp(row.dateTime);
    if (w.stamp < 0)
        w.stamp = -1 - qint64(textNumber(row.dateTime));
    w.profile = profileNumber(row);
    w.level = textNumber(row.level);
    w.merCn = textNumber(row.merCn);
    w.ber = textNumber(row.ber);
    w.hikariLevel = textNumber(row.hikariLevel);

    const qint64 seconds = w.stamp >= 0 ? secondsOf(w.stamp) : -1;
    Entry e;
    if (seconds >= 0 && seconds <= qint64(std::numeric_limits<quint32>::max())
        && std::max({w.profile, w.level, w.merCn, w.ber, w.hikariLevel}) <= kCompactLimit) {
        e.moment = quint32(seconds);
        e.profile = quint16(w.profile);
        e.level = quint16(w.level);
        e.merCn = quint16(w.merCn);
        e.ber = quint16(w.ber);
        e.hikariLevel = quint16(w.hikariLevel);
    } else {
        e.wide = 1;
        e.moment = quint32(m_wide.size());
        m_wide.push_back(w);
    }
    appendTo(m_channels[size_t(channel)], e);
}

void StoredResultHistory::removeAt(int channel, int index)
{
    Entries &list = m_channels[size_t(channel)];
    list.erase(list.begin() + index);
}

void StoredResultHistory::clear()
{
    for (Entries &list : m_channels)
        Entries().swap(list);
    std::vector<WideEntry>().swap(m_wide);
    m_wideDropped = 0;
}

int StoredResultHistory::dropBefore(int channel, const QDateTime &cutoff)
{
    const qint64 limit = momentStamp(cutoff);
    if (limit < 0)
        return 0;
    const qint64 limitSeconds = secondsOf(limit);
    Entries &list = m_channels[size_t(channel)];
    const auto kept = std::remove_if(list.begin(), list.end(), [this, limit, limitSeconds](const Entry &e) {
        if (!e.wide)
            return qint64(e.moment) < limitSeconds;
        const qint64 s = m_wide.at(e.moment).stamp;
        const qint64 stamp = s >= 0 ? s : leadingMomentStamp(dateTimeText(s));
        return stamp >= 0 && stamp < limit;
    });
    const int dropped = int(list.end() - kept);
    if (dropped > 0) {
        m_wideDropped += std::count_if(kept, list.end(), [](const Entry &e) { return e.wide != 0; });
        // The room stays for the results that follow: giving it back scatters free blocks
        // through the heap, and handing those to the system cost the prune most of its time.
        list.erase(kept, list.end());
        if (m_wideDropped > 1024 && m_wideDropped * 2 > m_wide.size())
            compactWide();
    }
    return dropped;
}

void StoredResultHistory::compactWide()
{
    std::vector<WideEntry> wide;
    for (Entries &list : m_channels) {
        for (Entry &e : list) {
            if (!e.wide)
                continue;
            wide.push_back(m_wide.at(e.moment));
            e.moment = quint32(wide.size() - 1);
        }
    }
    m_wide = std::move(wide);
    m_wideDropped = 0;
}

void StoredResultHistory::regroup(const QVector<QVector<int>> &sources)
{
    std::vector<Entries> channels(m_channels.size());
    for (int target = 0; target < sources.size() && size_t(target) < channels.size(); ++target) {
        for (int source : sources.at(target)) {
            const Entries &from = m_channels.at(size_t(source));
            channels[size_t(target)].insert(channels[size_t(target)].end(), from.begin(), from.end());
        }
    }
    m_channels = std::move(channels);
}
