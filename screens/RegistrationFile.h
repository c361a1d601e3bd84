#pragma once

#include "screens/RegistrationRecord.h"

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

    enum class PortColumn {
        WhenNotDefault, // "address:port" unless the port is 161
        Always          // always "address:port"
    };

    // Local path of the file in the checker settings folder.
    static QString filePath();
    // The 14 column names joined by ",".
    static QString headerLine();

    // Reads the device lines of path into records. Lines of 10 fields or fewer (blank
    // ones too) are skipped; the first longer line is the header, and its eighth field
    // without "光波長" marks the older layout (wavelength "1550", both modes "MER"). A later
    // line whose first field is empty is skipped. Fields missing at the end of a short line
    // read as empty texts. Devices are numbered by their position. False when the file
    // cannot be opened; records are then empty.
    static bool read(const QString &path, QVector<RegistrationRecord> *records);

    // Replaces path with the header and one line per record, numbered by position. The old
    // file stays as it was when the new one cannot be written completely; false then.
    static bool write(const QString &path, const QVector<RegistrationRecord> &records,
                      PortColumn portColumn = PortColumn::WhenNotDefault);

    // The file's bytes for records, as write() stores them.
    static QByteArray fileContent(const QVector<RegistrationRecord> &records, PortColumn portColumn);

    // Column 3 into address and port: a ":" after the first character separates the port
    // (an unsigned decimal number, 0 when it is none); otherwise the port is 161.
    static void splitAddressField(const QString &field, QString *address, int *port);

    // The record of a registered device, with its current measurement state.
    static RegistrationRecord recordOf(const LevelChecker &device);

    // Gives a device just registered from record what registering does not: identity,
    // MER/CN modes and measurement state, in that order.
    static void applyTo(LevelChecker *device, const RegistrationRecord &record);
};
