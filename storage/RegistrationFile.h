#pragma once

#include "storage/RegistrationRecord.h"

#include <QList>
#include <QString>
#include <QVector>

class LevelChecker;

// "DeviceRegistSetting.csv": the registered devices, one line each after a header of 14
// columns; UTF-8 without byte-order mark, LF line ends, fields joined by "," without
// quoting. Files of the older 11-column layout (without wavelength and MER/CN modes) are
// read too; nothing writes them.
//
// Start-up loading reads the records, registers one device per record in order and hands
// each record to applyTo() together with the device it has just registered. The writers
// of the close and of the identity readout take recordOf() of every device.
class RegistrationFile
{
public:
    static constexpr int DefaultPort = 161;
    // The program monitors at most this many devices; later device lines are not read.
    static constexpr int MaxDevices = 50;

    // What read() could not take as a device line, beside the records' own problems.
    struct ReadReport {
        // The file was no valid UTF-8 and was read as Shift-JIS.
        bool shiftJis = false;
        // The first device line came before any header.
        bool headerMissing = false;
        // Lines that are not blank before the header: not read.
        QList<int> linesBeforeHeader;
        // Device lines past the MaxDevices-th: not read.
        QList<int> linesPastLimit;
        // Lines that a rewrite of the file loses: it should be kept aside first.
        bool losesLines() const { return !linesBeforeHeader.isEmpty() || !linesPastLimit.isEmpty(); }
    };

    enum class PortColumn {
        WhenNotDefault, // "address:port" unless the port is 161
        Always          // always "address:port"
    };

    // Local path of the file in the checker settings folder.
    static QString filePath();
    // The 14 column names joined by ",".
    static QString headerLine();

    // Reads the device lines of path into records; the file may be UTF-8 or Shift-JIS.
    // The first line of more than 10 fields is the header, and its eighth field without
    // "光波長" marks the older layout (wavelength "1550", both modes "MER"); a line whose
    // first field is a number is no header but the first device line of a file that lost
    // its header. After the header every line that is not blank is a device, numbered by its
    // position: a damaged line (10 fields or fewer, an empty first field, a NUL byte) and a
    // line with values the device setting screen refuses still take their number, so that
    // the devices after them keep theirs. Such a record names its problem, holds its line
    // and is stopped and without address. Fields missing at the end of a short line read as
    // empty texts. False when the file cannot be opened; records are then empty.
    static bool read(const QString &path, QVector<RegistrationRecord> *records, ReadReport *report = nullptr);

    // Where keepAside() keeps the file: path followed by ".damaged".
    static QString asidePath(const QString &path);
    // Copies path to asidePath(); an earlier copy is replaced only when replace is set (it
    // may hold lines the file has lost since).
    enum class Aside { Kept, EarlierKept, Failed };
    static Aside keepAside(const QString &path, bool replace);

    // Replaces path with the header and one line per record, numbered by position. The old
    // file stays as it was when the new one cannot be written completely; false then.
    static bool write(const QString &path, const QVector<RegistrationRecord> &records,
                      PortColumn portColumn = PortColumn::WhenNotDefault);

    // The file's bytes for records, as write() stores them.
    static QByteArray fileContent(const QVector<RegistrationRecord> &records, PortColumn portColumn);

    // Column 3 into address and port: a ":" after the first character separates the port
    // (an unsigned decimal number, 0 when it is none); otherwise the port is 161.
    static void splitAddressField(const QString &field, QString *address, int *port);

    // The record of a registered device, with its current measurement state. A device still
    // as registered from a held line gives that line as heldLine.
    static RegistrationRecord recordOf(const LevelChecker &device);
    // Lets device, just registered from record, write record's held line back in its place
    // for as long as the device's registration stays as it is now.
    static void holdLine(LevelChecker *device, const RegistrationRecord &record);

    // Gives a device just registered from record what registering does not: identity,
    // MER/CN modes and measurement state, in that order.
    static void applyTo(LevelChecker *device, const RegistrationRecord &record);
};
