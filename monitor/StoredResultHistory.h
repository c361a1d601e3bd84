#pragma once

#include "monitor/ChannelResultRow.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVector>

#include <cstdint>

// The in-memory result history of one device, per channel position, kept small enough for
// months of results: per result only numbers, with every text held once in a pool of the
// device and named by its number. The rows handed out are rebuilt from it text for text.
// Belongs to the GUI thread, like the device's other result lists.
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
    // pass and gives the memory back; results without a valid date stay. Returns the number dropped.
    int dropBefore(int channel, const QDateTime &cutoff);
    // The channel lists in a new order: lists[target] becomes the concatenation of the
    // lists of the sources given for it, in that order.
    void regroup(const QVector<QVector<int>> &sources);

private:
    struct Entry
    {
        // momentStamp() of the date-time, or -1 - text number for a text that names no moment.
        qint64 stamp = 0;
        quint32 channel = 0;
        quint32 level = 0;
        quint32 merCn = 0;
        quint32 ber = 0;
        quint32 hikariLevel = 0;
        quint32 modulation = 0;
        quint32 layer = 0;
        quint32 extraValue = 0;
        quint32 broadcastStandard = 0;
        qint32 bandTabIndex = 0;
        bool convertedCn = false;
    };

    quint32 textNumber(const QString &text);
    QString dateTimeText(qint64 stamp) const;

    QVector<QVector<Entry>> m_channels;
    QVector<QString> m_texts;
    QHash<QString, quint32> m_textNumbers;
};
