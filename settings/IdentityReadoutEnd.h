#pragma once

class DeviceSettingViewModel;

// The end of the device setting screen's identity readout: stops the devices the apply
// restarted for it, returns them to measuring, names the devices whose identity was not
// read, writes "DeviceRegistSetting.csv" and then deletes the files of removed devices.
// It works on the screen's flags and readout and reports through the screen's page and
// log, so that its lines keep the screen's name.
class IdentityReadoutEnd
{
public:
    explicit IdentityReadoutEnd(DeviceSettingViewModel &screen);

    // Ends the readout now; the caller has passed the operation gate.
    void run();
    // Writes the registration file from the devices and refills the identity list. False
    // (logged, shown on the page) when the file could not be written.
    bool writeRegistration();

private:
    void removeRetiredDeviceFiles();

    DeviceSettingViewModel &screen;
};
