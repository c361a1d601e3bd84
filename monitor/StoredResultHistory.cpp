#include "monitor/StoredResultHistory.h"

#include <algorithm>

namespace {
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
    return stampOf(year, month, day, hour, minute, second);
}

qint64 StoredResultHistory::momentStamp(const QDateTime &moment)
{
    if (!moment.isValid())
        return -1;
    const QDate d = moment.date();
    const QTime t = moment.time();
    return stampOf(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

StoredResultHistory::StoredResultHistory(int channelCount)
    : m_channels(channelCount)
{
    // Number 0 is the empty text, the most common one.
    m_texts.append(QString());
    m_textNumbers.insert(QString(), 0);
}

int StoredResultHistory::channelCount() const { return m_channels.size(); }

int StoredResultHistory::count(int channel) const { return m_channels.at(channel).size(); }

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

ChannelResultRow StoredResultHistory::at(int channel, int index) const
{
    const Entry &e = m_channels.at(channel).at(index);
    ChannelResultRow row;
    row.bandTabIndex = e.bandTabIndex;
    row.channel = m_texts.at(int(e.channel));
    row.dateTime = dateTimeText(e.stamp);
    row.level = m_texts.at(int(e.level));
    row.merCn = m_texts.at(int(e.merCn));
    row.ber = m_texts.at(int(e.ber));
    row.hikariLevel = m_texts.at(int(e.hikariLevel));
    row.modulation = m_texts.at(int(e.modulation));
    row.layer = m_texts.at(int(e.layer));
    row.extraValue = m_texts.at(int(e.extraValue));
    row.broadcastStandard = m_texts.at(int(e.broadcastStandard));
    row.convertedCn = e.convertedCn;
    return row;
}

void StoredResultHistory::append(int channel, const ChannelResultRow &row)
{
    Entry e;
    e.stamp = momentStamp(row.dateTime);
    if (e.stamp < 0)
        e.stamp = -1 - qint64(textNumber(row.dateTime));
    e.channel = textNumber(row.channel);
    e.level = textNumber(row.level);
    e.merCn = textNumber(row.merCn);
    e.ber = textNumber(row.ber);
    e.hikariLevel = textNumber(row.hikariLevel);
    e.modulation = textNumber(row.modulation);
    e.layer = textNumber(row.layer);
    e.extraValue = textNumber(row.extraValue);
    e.broadcastStandard = textNumber(row.broadcastStandard);
    e.bandTabIndex = row.bandTabIndex;
    e.convertedCn = row.convertedCn;
    m_channels[channel].append(e);
}

void StoredResultHistory::removeAt(int channel, int index)
{
    m_channels[channel].removeAt(index);
}

void StoredResultHistory::clear()
{
    for (QVector<Entry> &list : m_channels)
        list = QVector<Entry>();
}

int StoredResultHistory::dropBefore(int channel, const QDateTime &cutoff)
{
    const qint64 limit = momentStamp(cutoff);
    if (limit < 0)
        return 0;
    QVector<Entry> &list = m_channels[channel];
    const auto kept = std::remove_if(list.begin(), list.end(), [this, limit](const Entry &e) {
        const qint64 stamp = e.stamp >= 0 ? e.stamp : leadingMomentStamp(dateTimeText(e.stamp));
        return stamp >= 0 && stamp < limit;
    });
    const int dropped = int(list.end() - kept);
    if (dropped > 0) {
        list.erase(kept, list.end());
        list.squeeze();
    }
    return dropped;
}

void StoredResultHistory::regroup(const QVector<QVector<int>> &sources)
{
    QVector<QVector<Entry>> channels(m_channels.size());
    for (int target = 0; target < sources.size() && target < channels.size(); ++target) {
        for (int source : sources.at(target))
            channels[target] += m_channels.at(source);
    }
    m_channels = std::move(channels);
}
