#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

class DeviceList;
class LevelChecker;

// The daily clean-up of the dated log files (result, error, history and work-history logs)
// and of the results and alert records the devices keep in memory. Pure rules and file
// operations; the result list screen runs them from its timer.
class LogPurge
{
public:
    // Device folders "機器No1" to "機器No50" are purged, registered or not.
    static constexpr int DeviceFolderCount = 50;
    static constexpr int DayMs = 86400000;
    // In-memory results older than this many days before today are dropped.
    static constexpr int KeptResultDays = 3;

    // 01:00:00.000 of the calendar day after now: the first nightly run, and the next one
    // after each run, so the runs stay at 01:00 however long each takes.
    static QDateTime nextRunTime(const QDateTime &now);

    // from minus one year when oneYearFlg is 1, else minus months; a day missing in the
    // target month becomes its last day.
    static QDateTime retentionCutoff(const QDateTime &from, int months, int oneYearFlg);

    // The date a log file's name begins with ("yyyyMMdd", then anything containing ".csv"
    // in any letter case). Invalid for every other name, so such a file is never deleted.
    static QDate fileDate(const QString &fileName);

    // The local folders of the four passes, in purge order: result logs of devices 1-50,
    // error logs 1-50, the work-history folder, result histories 1-50. dataFolder is the
    // result-log folder of the settings, in Windows form.
    static QStringList resultLogFolders(const QString &dataFolder);
    static QStringList errorLogFolders(const QString &dataFolder);
    static QStringList workLogFolders();
    static QStringList historyLogFolders();

    // Deletes the dated files of folder dated strictly before cutoff; a missing folder or a
    // file that cannot be deleted is skipped. Returns the number deleted.
    static int purgeFolder(const QString &folder, const QDateTime &cutoff);

    // 00:00 of the day KeptResultDays before today.
    static QDateTime resultCutoff(const QDate &today);
    // "yyyy/MM/dd hh:mm:ss" read by fixed positions; invalid when the text holds no valid
    // moment (such an entry is kept).
    static QDateTime entryDateTime(const QString &text);

    // Drops the device's result-history entries older than cutoff, for every channel of its
    // plan. Returns the number removed.
    static int pruneResults(LevelChecker *device, const QDateTime &cutoff);
    // Drops the older alert records with the error message at the same position.
    static int pruneAlertRecords(LevelChecker *device, const QDateTime &cutoff);
    // The nightly pass over every device: results, then alert records, older than
    // resultCutoff(today); the freed memory goes back to the system. Returns the number of
    // results and records removed.
    static int pruneDevices(DeviceList *devices, const QDate &today);
};
