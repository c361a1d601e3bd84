#pragma once

#include <QString>

// One row of the device setting table as the screen edits it. Every field but checked is
// text; the codes are decimal texts of the device choice tables.
struct DeviceEditRecord
{
    // The address text of a row whose address was never set.
    static QString blankAddress() { return QStringLiteral("   .   .   .   "); }
    // A device's address as a row shows it: a device without one ("0.0.0.0") shows the blank.
    static QString shownAddress(const QString &deviceAddress)
    {
        return deviceAddress == QLatin1String("0.0.0.0") ? blankAddress() : deviceAddress;
    }

    QString deviceNo;
    QString name;
    // Dotted decimal, blankAddress(), or empty after the operator cleared the field.
    QString ipAddress;
    QString inputType;      // 0 coax, 1 optical, -1 unknown
    QString settingFile;    // "N.csv" or "未設定"
    QString validTimeText;  // "常時" or start + "～" + end
    QString spareText;
    QString testCaption;
    QString startTime;      // "常時" or "hh:mm"
    QString endTime;        // "常時" or "hh:mm"
    QString cycleInterval;  // CycleInterval code
    bool checked = false;
    QString wavelength;     // wavelength index
    // The SNMP port the device is registered with; only an imported list names another.
    int port = 161;

    // The record that ends every record list: number deviceNo, nothing set.
    static DeviceEditRecord blank(int deviceNo)
    {
        DeviceEditRecord record;
        record.deviceNo = QString::number(deviceNo);
        record.ipAddress = blankAddress();
        record.inputType = QStringLiteral("0");
        record.settingFile = QStringLiteral("未設定");
        record.validTimeText = QStringLiteral("常時");
        record.testCaption = QStringLiteral("テスト");
        record.startTime = QStringLiteral("常時");
        record.endTime = QStringLiteral("常時");
        record.cycleInterval = QStringLiteral("0");
        record.wavelength = QStringLiteral("3");
        return record;
    }
};
