#pragma once

#include "monitor/AlertSettingRow.h"
#include "monitor/ChannelResultRow.h"
#include "monitor/ChannelSettingRow.h"

#include <QDateTime>
#include <QString>

// The daily result history of a device ("INDIVIDUAL_LOG"): every stored result with four
// pass/fail verdicts against its thresholds. UTF-8 without BOM, LF line ends, one header line.
class DailyLogFiles;

class ResultHistoryLogWriter
{
public:
    // true = the value passed or was not judged, false = it broke its threshold or the device
    // gave no values.
    struct Verdicts
    {
        bool level = true;
        bool merCn = true;
        bool ber = true;
        bool hikariLevel = true;
    };

    // Verdicts of a stored result. alert is null when the device has no threshold row for the
    // channel: then only a result without any value fails.
    static Verdicts verdicts(const ChannelResultRow &row, const AlertSettingRow *alert,
                             const QString &startTime, const QString &endTime,
                             const QString &inputTypeText);

    // The eighteen columns (no line end).
    static QString line(int deviceNo, const QString &name, const ChannelResultRow &row,
                        const ChannelSettingRow &plan, const Verdicts &verdicts);

    static QString headerLine();

    // Local path of the day's file; folderNumber is the device position + 1.
    static QString filePath(int folderNumber, const QDate &date);

    // Append one line (the header first for a new file). False when the file cannot be
    // opened for appending. With files, the file is kept open there for the next line.
    static bool appendLine(int folderNumber, const QString &line, const QDateTime &now,
                           DailyLogFiles *files = nullptr);
    // The same at a path taken from filePath for now's day.
    static bool appendLineAt(const QString &path, const QString &line, DailyLogFiles *files = nullptr);
};
