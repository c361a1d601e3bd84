#pragma once

#include "storage/RegistrationRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

class DeviceList;

// The device-list export and import: a CSV file at a place the operator chooses, with the
// header "No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長" and one line
// per device in device-list order; UTF-8 without byte-order mark, LF line ends, fields
// joined by "," without quoting. The address column carries ":port" only for a port other
// than 161, as the registration file does, so that an export read back keeps every device
// reachable. The rows travel as RegistrationRecord: name, ipAddress and port, inputType,
// cycleInterval, startTime, endTime and wavelength as texts; the identity columns stay empty
// and measurementState is 1 (stopped).
class DeviceListFile
{
public:
    // The import keeps at most this many devices; later lines are dropped.
    static constexpr int MaxDevices = 50;
    // A line with fewer fields is no device line (nor the header).
    static constexpr int MinFields = 7;

    static QString headerLine();

    // The registered devices as the export writes them.
    static QVector<RegistrationRecord> recordsOf(const DeviceList &devices);
    // The file's bytes for records, numbered by position.
    static QByteArray fileContent(const QVector<RegistrationRecord> &records);
    // Replaces path with the header and one line per record; an existing file stays as it
    // was unless the new one was written completely. False when the file cannot be written.
    static bool write(const QString &path, const QVector<RegistrationRecord> &records);

    // What read() left out, by line number (1-based).
    struct ReadReport {
        // The file was no valid UTF-8 and was read as Shift-JIS.
        bool shiftJis = false;
        // Lines that are not blank and are neither the header nor a device: too few fields,
        // an empty first field (No), a NUL byte, or values the device setting screen refuses.
        QList<int> skippedLines;
        // Device lines past the fiftieth device.
        QList<int> linesPastLimit;
    };

    // Reads the device lines of path; the file may be UTF-8 or Shift-JIS. Lines of fewer
    // than seven fields are no device lines; the first other line is the header; a line
    // whose first field (No) is empty, that holds a NUL byte, or whose address, port, input
    // type, cycle or alert window the device setting screen would refuse is skipped; the
    // devices are numbered 1, 2, ... in file order whatever "No" says; lines beyond the
    // fiftieth device are dropped (counted in *dropped). A name is cut to the screen's
    // eight characters. Column 8 (光波長) is kept when present, otherwise the wavelength
    // is empty. False when the file cannot be opened or read: records is then left as it
    // was.
    static bool read(const QString &path, QVector<RegistrationRecord> *records, int *dropped = nullptr,
                     ReadReport *report = nullptr);
};
