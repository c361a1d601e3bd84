#pragma once

#include "monitor/MeasurementState.h"

#include <QString>
#include <QtGlobal>

#include <array>

// One device line of "DeviceRegistSetting.csv". The choice columns keep the texts of the
// file ("同軸", "5分", "1550", "CNR" ...); the code accessors translate them the way the
// file is read.
struct RegistrationRecord
{
    // The SNMP community every registered device is reached with.
    static constexpr const char *Community = "kv52gate";

    // Device number: the position among the device lines, 1-based. The reader numbers the
    // devices itself and the writer writes positions, whatever the file's "No" says.
    int deviceNo = 0;
    QString name;
    // Dotted address without the port; "0.0.0.0" when none is set.
    QString ipAddress = QStringLiteral("0.0.0.0");
    int port = 161;
    QString inputType;
    QString cycleInterval;
    QString startTime;
    QString endTime;
    QString wavelength;
    QString serialNumber;
    QString macAddress;
    QString firmwareVersion;
    // 0 measuring (started automatically at start-up), 1 stopped.
    int measurementState = int(MeasurementState::Stopped);
    QString terrestrialMerCn = QStringLiteral("MER");
    QString catvMerCn = QStringLiteral("MER");

    // For a record read from the file: its line number (1-based, 0 otherwise) and, when the
    // line is damaged or holds values the device setting screen refuses, what is wrong with
    // it in a few words for the log.
    int lineNo = 0;
    QString problem;
    // A line written in this record's place as it stands instead of from the fields: the
    // line of a device kept stopped because of problem, while the device is unchanged.
    QString heldLine;

    // Codes as the device record holds them: a text the table lacks gives 0, the empty
    // text -1 (the MER/CN modes have no empty entry: 0).
    int inputTypeCode() const;
    int cycleIntervalCode() const;
    int wavelengthCode() const;
    int terrestrialMerCnCode() const;
    int catvMerCnCode() const;

    // The four address bytes, first number first: the first four "."-separated parts, each
    // a decimal number kept to its low 8 bits; missing parts and texts that are no number
    // give 0.
    std::array<quint8, 4> addressBytes() const;
    // The same bytes in memory order, as the device list takes an address.
    quint32 packedAddress() const;
};
