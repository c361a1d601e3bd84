#pragma once

#include "monitor/AlertRecord.h"
#include "monitor/ChannelResultRow.h"
#include "monitor/ChannelSettingRow.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class DailyLogFiles;

// The daily result log ("LOG") and error log ("ERROR_LOG") of a device below the result-log
// folder of the settings: Shift-JIS, LF line ends, fields joined by "," without quoting.
// One file per device and calendar day of writing; a new file first gets its head lines.
class ResultLogWriter
{
public:
    // The twelve columns of a stored result (no line end).
    static QString resultLine(const ChannelResultRow &row, const ChannelSettingRow &plan);
    // The sixteen columns of a judged record (no line end).
    static QString errorLine(int deviceNo, const QString &name, const AlertRecord &record);
    // The sixteen columns of a record in their order, shared with the operator's error save,
    // which shows the date-time and the error items in its own way.
    static QStringList errorColumns(int deviceNo, const QString &name, const AlertRecord &record,
                                    const QString &dateTimeText, const QString &itemsText);
    // "レベル、MER/CN、…" for the record's flags, or "接続エラー".
    static QString errorItems(const AlertRecord &record);

    // Local path of the day's file. dataFolder is the settings' folder in Windows form;
    // folderNumber the device position + 1.
    static QString resultLogPath(const QString &dataFolder, int folderNumber, const QDate &date);
    static QString errorLogPath(const QString &dataFolder, int folderNumber, const QDate &date);

    // Append one line (head lines first for a new, empty file). False when the file cannot
    // be opened for appending or not all was written; nothing is written then. With files, the file is kept open there
    // for the next line; without, it is opened and closed for this line.
    static bool appendResultLine(const QString &dataFolder, int folderNumber, int deviceNo,
                                 const QString &name, const QString &line, const QDateTime &now,
                                 DailyLogFiles *files = nullptr);
    static bool appendErrorLine(const QString &dataFolder, int folderNumber, const QString &line,
                                const QDateTime &now, DailyLogFiles *files = nullptr);
    // The same at a path taken from resultLogPath / errorLogPath for now's day.
    static bool appendResultLineAt(const QString &path, int deviceNo, const QString &name,
                                   const QString &line, const QDateTime &now,
                                   DailyLogFiles *files = nullptr);
    static bool appendErrorLineAt(const QString &path, const QString &line,
                                  DailyLogFiles *files = nullptr);

    static QString emptyDateTimeText();

    // Appends bytes (already holding their line ends) to a daily file, making its folder
    // when missing, with the head bytes first when the file is new (empty); head is only
    // built for a new file. Whole or not at all: false when the file cannot be opened for
    // appending or not all was written, and the file is left as it was. Each episode of
    // failures of a file is told to the application log when it begins and when it ends.
    static bool appendToDailyFile(const QString &path, const std::function<QByteArray()> &head,
                                  const QByteArray &bytes, DailyLogFiles *files = nullptr);
};
