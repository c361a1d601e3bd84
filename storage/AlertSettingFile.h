#pragma once

#include "monitor/AlertSettingRow.h"

#include <QByteArray>
#include <QString>
#include <QVector>

class LevelChecker;

// A device's alert thresholds "AlertSetting\alert_N.csv" with the pending copy
// "alert_N_new.csv". UTF-8 without byte-order mark, LF line ends, no quoting; a header line
// whose first field begins with an apostrophe, then one row per measured channel: band,
// channel, LevelMin, LevelMax, MER/CN, BER, HikariLevelMin, HikariLevelMax, ConvertCNR.
// Older files stop after BER.
class AlertSettingFile
{
public:
    enum class Copy {
        Committed, // "alert_N.csv": the thresholds the device is judged by
        Pending    // "alert_N_new.csv": saved by the channel details screen, not yet in use
    };

    static QString folderPath();
    static QString fileName(int deviceNo, Copy copy = Copy::Committed);
    static QString filePath(int deviceNo, Copy copy = Copy::Committed);
    static QString headerLine();

    static bool exists(int deviceNo, Copy copy);
    // Removes that copy of the device's thresholds when it exists; true when none is left.
    static bool removeCopy(int deviceNo, Copy copy);

    // The threshold rows. The first line that is not blank is the header; later lines of
    // fewer than 6 fields (blank ones too) are skipped and count for nothing. From the first
    // remaining line with fewer than 9 fields on (the header counts), every row takes the older file's defaults for the
    // last three columns: "-10.0", "0.0", and "21.0" for bands 0 and 5, else "---".
    // Blanks are removed from the channel, "<" from the lower thresholds and ">" from the
    // upper ones. False when the file cannot be opened; rows are then empty.
    static bool read(const QString &path, QVector<AlertSettingRow> *rows);

    // Replaces path with the header and rows, texts as they are; the old file stays when
    // this fails (false).
    static bool write(const QString &path, const QVector<AlertSettingRow> &rows);
    static QByteArray fileContent(const QVector<AlertSettingRow> &rows);

    // Band column of a row shown under bandName: the band with that full name, the
    // converted-C/N names "地デジ(換算)" and "CATV(換算)" counting as their bands; 0 when
    // no band has the name.
    static int bandTabIndexOfName(const QString &bandName);

    // Makes the pending thresholds of device deviceNo the committed ones, when there are
    // any. False only when they exist and could not replace the committed file, which then
    // stays as it was.
    static bool promote(int deviceNo);

    // Replaces the device's alert thresholds by rows. The device's worker must be outside
    // its polling loop.
    static void applyTo(LevelChecker *device, const QVector<AlertSettingRow> &rows);
    // Reads the committed thresholds of device number deviceNo into device. False, the
    // device untouched, when they cannot be read.
    static bool loadCommitted(LevelChecker *device, int deviceNo);
};
