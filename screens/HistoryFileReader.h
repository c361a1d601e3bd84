#pragma once

#include "core/IndividualResultListRow.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Reads back one channel's rows from a device's daily result histories
// ("INDIVIDUAL_LOG\機器No<n>\yyyyMMdd.csv").
//
// A year of history of a 100-channel device is millions of lines, read at every opening of
// the history screen. The files are therefore read in large blocks and searched as bytes for
// the channel's field; only the lines found are split and decoded, so the time goes with the
// bytes and the memory with the rows of the one channel. Several files are read at once.
class HistoryFileReader
{
public:
    struct Result
    {
        // Every row of the channel, newest first.
        QVector<IndividualResultListRow> rows;
        // "yyyy/MM/dd" of the rows, in the order the dates first occur (oldest first).
        QStringList dates;
        // Position in the folder listing plus 1 of every history file that could not be
        // opened, in listing order.
        QVector<int> unreadableFiles;
    };

    // bandText: the band's short name as the BAND column holds it (without "(換算)").
    HistoryFileReader(const QString &bandText, const QString &channel);

    // The folder of device deviceNo below the history root, or an empty text when the root
    // holds none: a device without a folder has no history.
    static QString deviceFolder(int deviceNo);

    // All history files of the device, oldest first.
    Result readDevice(int deviceNo) const;

    // The channel's rows of one file, oldest first, appended to rows; dates of new rows not
    // yet in dates are appended. False when the file cannot be opened.
    bool readFile(const QString &path, QVector<IndividualResultListRow> *rows,
                  QStringList *dates) const;

private:
    class FieldCache;

    bool belongsToChannel(const char *fieldStarts[], const char *fieldEnds[]) const;
    IndividualResultListRow buildRow(const char *fieldStarts[], const char *fieldEnds[],
                                     int fieldCount, FieldCache *cache) const;
    void scanRegion(const char *begin, const char *end, bool *headerSeen,
                    QVector<IndividualResultListRow> *rows, QStringList *dates,
                    FieldCache *cache) const;

    QByteArray m_band;
    QByteArray m_channel;
    // ",<channel>,": every line of the channel holds it, so other lines are passed over by a
    // byte search.
    QByteArray m_needle;
};
