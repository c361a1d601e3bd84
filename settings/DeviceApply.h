#pragma once

#include <QList>

class DeviceSettingViewModel;
struct DeviceEditRecord;

// The apply of the device setting screen: checks the edited rows, then brings the device
// list into line with them (registers, removes, stops, readdresses and restarts devices,
// puts pending plans into service) and starts the identity readout of the devices it
// restarted. It works on the screen's records, flags and readout, and reports through the
// screen's page, pop-ups and log, so that its lines keep the screen's name.
class DeviceApply
{
public:
    explicit DeviceApply(DeviceSettingViewModel &screen);

    // Runs the apply now; false when it was refused (an invalid or a duplicate address),
    // and then nothing has changed.
    bool run(bool readAll);

    // The apply's file steps, logged under the screen's operation names: every pending plan
    // and thresholds put into service and each device's committed plan loaded, the stored
    // results moved onto the new plans, the committed thresholds loaded. Devices whose
    // worker did not leave its loop are left alone.
    void loadPlans();
    void moveStoredResults();
    void loadThresholds();

private:
    bool checkAddresses();
    bool checkDuplicates(bool imported);
    void showProgress(bool readAll);
    // Lets everything but user input through for ms, so that a pop-up is drawn.
    void pauseWithEvents(int ms);
    void registerDevice(int deviceNo, const DeviceEditRecord &record);
    void applyImported();
    void removeClearedRows(int clearedRows);
    QList<int> registerNewRows();

    DeviceSettingViewModel &screen;
};
