#pragma once

#include <QString>
#include <QVector>

class DeviceSettingViewModel;
struct DeviceEditRecord;
struct RegistrationRecord;

// The device setting screen's import and export of the device list file. An import only
// replaces the table's rows (nothing reaches the devices before the apply); an export
// writes the devices as registered. Failures are shown on the screen's page.
class DeviceListTransfer
{
public:
    explicit DeviceListTransfer(DeviceSettingViewModel &screen);

    void importFrom(const QString &url);
    void exportTo(const QString &url);

    // The device-list file's rows as the table takes them: codes of texts the choice tables
    // lack are -1, a wavelength the file does not name is 1550.
    static QVector<DeviceEditRecord> importedRecords(const QVector<RegistrationRecord> &records);

private:
    DeviceSettingViewModel &screen;
};
