#pragma once

#include "storage/ChannelSettingEntry.h"
#include "storage/MeasuredChannelPlan.h"

#include <QByteArray>
#include <QString>
#include <QVector>

struct AlertSettingRow;

class LevelChecker;

// A device's channel plan "MeasurementChannelSetting\N.csv" with its working copy
// "N_sub.csv" and pending copy "N_new.csv", and the read-only template plan. UTF-8 without
// byte-order mark, LF line ends, no quoting; a header line whose first field begins with an
// apostrophe, then one row per channel of the plan, measured or not:
// band, channel, frequency kHz, broadcast standard, local oscillator kHz, power feed,
// measuring.
class ChannelSettingFile
{
public:
    enum class Copy {
        Committed, // "N.csv": the plan the device measures with
        Working,   // "N_sub.csv": as edited on the channel setting screen
        Pending    // "N_new.csv": saved by the channel details screen, not yet in use
    };

    static QString folderPath();
    // File name of device number deviceNo, e.g. "3.csv" (the device's setting file name).
    static QString fileName(int deviceNo, Copy copy = Copy::Committed);
    static QString filePath(int deviceNo, Copy copy = Copy::Committed);
    static QString templatePath();
    static QString headerLine();

    // The plans the channel setting screen opens for a device: the one it edits (the
    // working copy, else the pending plan, else the committed plan, else the template) and
    // the one its edits are compared with (only for an edited working or pending copy: the
    // committed plan, else, for a working copy, the pending plan; empty when none applies).
    struct EditSources {
        QString editedPath;
        QString comparedPath;
    };
    static EditSources editSources(int deviceNo);

    // True when the two plans differ in a row's measuring flag, local oscillator or
    // frequency text, or in their number of rows. Standard and power feed are not compared.
    static bool plansDiffer(const QVector<ChannelSettingEntry> &a, const QVector<ChannelSettingEntry> &b);

    static bool exists(int deviceNo, Copy copy);
    // Removes that copy of the device's plan when it exists; true when none is left.
    static bool removeCopy(int deviceNo, Copy copy);
    // The pair a details save leaves for the device setting apply: the pending plan and the
    // pending thresholds. True when either exists.
    static bool pendingPairExists(int deviceNo);
    // The CATV frequency plan a plan row shows: C24 at 231 or 233 MHz gives *c24 0 or 1,
    // channel 8 at 195 or 191 MHz gives *ch8 0 or 1; any other row changes neither.
    static void noteCatvVariant(const QString &channel, const QString &frequencyText, int *c24, int *ch8);
    static void removePendingPair(int deviceNo);

    // Every row of the plan, for the setting screens. Lines of fewer than 7 fields are
    // skipped; the first longer one is the header. A row is measured when its seventh field
    // is a number other than 0. False when the file cannot be opened; rows are then empty.
    static bool read(const QString &path, QVector<ChannelSettingEntry> *rows);

    // The channels a device measures. As read(), but every row whose seventh field is not
    // exactly "0" is measured. The device frequency is the file's frequency minus the local
    // oscillator. CATV rows "C24" at 231/233 MHz and "8" at 195/191 MHz set the variants;
    // a plan without them leaves 0. False when the file cannot be opened; plan is then empty.
    static bool readMeasured(const QString &path, MeasuredChannelPlan *plan);

    // Replaces path with the header and rows; the old file stays when this fails (false).
    static bool write(const QString &path, const QVector<ChannelSettingEntry> &rows);
    static QByteArray fileContent(const QVector<ChannelSettingEntry> &rows);

    // Makes the pending plan of device deviceNo its committed plan, when there is one.
    // False only when a pending plan exists and could not replace the committed one, which
    // then stays as it was.
    static bool promote(int deviceNo);

    // Saves the device's pending thresholds, then its pending plan; when the plan cannot be
    // written the pending thresholds go back to what they were, since alone they would
    // later go into service without their plan. False when either could not be written.
    static bool writePendingPair(int deviceNo, const QVector<AlertSettingRow> &thresholds,
                                 const QVector<ChannelSettingEntry> &plan);

    // Puts the device's pending thresholds and pending plan into service together, or
    // neither: when the second move fails the first is undone. The thresholds move first,
    // so a run cut between the two moves leaves the pending plan alone, which no save
    // leaves (a save writes the thresholds first). True when there was nothing to move or
    // both moved.
    static bool promotePendingPair(int deviceNo);

    // What start-up does with the pending copies an earlier run left for device deviceNo.
    enum class Leftover {
        None,               // there were none
        PairRemoved,        // a saved pair that no apply put into service: removed
        PromotionCompleted, // a lone pending plan, cut from its thresholds by the end of an
                            // apply: put into service after them
        Failed              // they could not be removed or moved
    };
    static Leftover settleLeftover(int deviceNo);

    // Replaces the device's channel plan and latest results by plan, one placeholder result
    // per channel, and sets its two CATV variants. The plan is swapped whole, so a worker
    // still measuring reads the old plan or the new one. The setting file name is left to
    // the caller.
    static void applyTo(LevelChecker *device, const MeasuredChannelPlan &plan);
    // Reads the committed plan of device number deviceNo and applies it to device; plan, when
    // given, receives what was read. False, the device untouched, when it cannot be read.
    static bool loadCommitted(LevelChecker *device, int deviceNo, MeasuredChannelPlan *plan = nullptr);
};
