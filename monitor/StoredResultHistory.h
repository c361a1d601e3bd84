#pragma once

#include "monitor/ChannelResultRow.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVector>

#include <cstdint>
#include <vector>

// The in-memory result history of one device, per channel position, kept small enough for
// months of results: per result 16 bytes of numbers (the moment packed into seconds, the
// channel's fixed texts named by one number, each value text by another), with every text
// held once in a pool of the device. A result that does not fit that form (a date-time that
// names no moment, more distinct texts than the numbers can name) is held in full beside it.
// The rows handed out are rebuilt from it text for text. Belongs to the GUI thread, like the
// device's other result lists.
class StoredResultHistory
{
public:
    // A "yyyy/MM/dd hh:mm:ss" text naming a valid moment as the number yyyyMMddhhmmss, which
    // orders like the moments; -1 for any other text.
    static qint64 momentStamp(const QString &text);
    static qint64 momentStamp(const QDateTime &moment);
    // The same for the first 19 characters of a longer text, read by position only: the
    // rule by which the purge dates an entry.
    static qint64 leadingMomentStamp(const QString &text);

    explicit StoredResultHistory(int channelCount);

    int channelCount() const;
    int count(int channel) const;
    // Unchecked: for a channel and index the caller has checked.
    ChannelResultRow at(int channel, int index) const;
    void append(int channel, const ChannelResultRow &row);
    void removeAt(int channel, int index);
    void clear();
    // Drops every result of the channel dated before cutoff (by leadingMomentStamp) in one
    // pass, keeping the room for the results to come; results without a valid date stay.
    // Returns the number dropped.
    int dropBefore(int channel, const QDateTime &cutoff);
    // The channel lists in a new order: lists[target] becomes the concatenation of the
    // lists of the sources given for it, in that order.
    void regroup(const QVector<QVector<int>> &sources);

private:
    // The texts of a result that stay the same from one result of a channel to the next.
    struct Profile
    {
        quint32 channel = 0;
        quint32 modulation = 0;
        quint32 layer = 0;
        quint32 extraValue = 0;
        quint32 broadcastStandard = 0;
        qint32 bandTabIndex = 0;
        bool convertedCn = false;
        bool operator==(const Profile &o) const
        {
            return channel == o.channel && modulation == o.modulation && layer == o.layer
                   && extraValue == o.extraValue && broadcastStandard == o.broadcastStandard
                   && bandTabIndex == o.bandTabIndex && convertedCn == o.convertedCn;
        }
        friend uint qHash(const Profile &p, uint seed = 0)
        {
            return ::qHash(p.channel, seed) ^ ::qHash(p.modulation, seed + 1) ^ ::qHash(p.layer, seed + 2)
                   ^ ::qHash(p.extraValue, seed + 3) ^ ::qHash(p.broadcastStandard, seed + 4)
                   ^ ::qHash(p.bandTabIndex, seed + 5) ^ uint(p.convertedCn);
        }
    };

    // A result in full, for what the compact form cannot hold.
    struct WideEntry
    {
        // momentStamp() of the date-time, or -1 - text number for a text that names no moment.
        qint64 stamp = 0;
        quint32 profile = 0;
        quint32 level = 0;
        quint32 merCn = 0;
        quint32 ber = 0;
        quint32 hikariLevel = 0;
    };

    struct Entry
    {
        // Seconds since 2000/01/01 00:00:00 of the date-time as written (no zone), or for a
        // wide entry its position in the wide list.
        quint32 moment = 0;
        quint16 profile = 0;
        quint16 level = 0;
        quint16 merCn = 0;
        quint16 ber = 0;
        quint16 hikariLevel = 0;
        quint16 wide = 0;
    };
    static_assert(sizeof(Entry) == 16, "a held result takes 16 bytes");

    using Entries = std::vector<Entry>;

    quint32 textNumber(const QString &text);
    quint32 profileNumber(const ChannelResultRow &row);
    QString dateTimeText(qint64 stamp) const;
    qint64 stampOf(const Entry &e) const;
    static void appendTo(Entries &list, const Entry &e);
    // Drops the wide results no entry names any more, once many are.
    void compactWide();

    std::vector<Entries> m_channels;
    // Results that do not fit an entry; an entry names its position here (a regroup may
    // make two entries name one). Rare; compacted after a purge dropped many of them.
    std::vector<WideEntry> m_wide;
    size_t m_wideDropped = 0;
    QVector<QString> m_texts;
    QHash<QString, quint32> m_textNumbers;
    QVector<Profile> m_profiles;
    QHash<Profile, quint32> m_profileNumbers;
};
