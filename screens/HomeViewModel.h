#pragma once

#include "core/ApplicationSetting.h"
#include "screens/AbstractViewModel.h"

#include <QList>
#include <QLockFile>
#include <QVariant>

class DeviceList;

// The home screen. Its constructor carries the start-up: it takes the single-instance lock
// and, holding it, loads the registration, channel plans, alert thresholds and polling
// settings and starts the devices that were measuring at the last end.
class HomeViewModel : public AbstractViewModel
{
    Q_OBJECT
public:
    // Name of the single-instance lock file in the temporary folder (TMPDIR honoured).
    static QString lockFilePath();

    HomeViewModel(int screenId, ApplicationModel *applicationModel, QObject *parent = nullptr);
    ~HomeViewModel() override;

    void resume() override;
    void suspend() override;
    void createConnection(QObject *page, QObject *frame) override;
    void activate() override;
    void deactivate() override;

    bool isLockFailed() const { return lockFailed; }
    ApplicationSetting currentSettings() const { return settings; }

    // Start-up loading, in the order the constructor runs it.
    void DeviceListFileRead();
    void MeasurementChannelSettingFileRead();
    void AlertSettingFileRead();
    void readApplicationSettings();
    void updateMeasurableFlags();

    // Devices whose registration line could not be taken: kept stopped, shown once.
    QList<int> damagedRegistrationDevices() const { return damagedDeviceNos; }

signals:
    void popupOpen();
    void windowCloseNotify(bool value);
    // The page tells the operator once which devices' registration lines were damaged.
    void registrationDamaged(QVariant deviceNumbers);

public slots:
    void onChangeDialogScaleNotify(double scale);
    void onWindowClosed();

private:
    DeviceList *devices() const;
    void settleLeftoverPendingFiles();

    ApplicationSetting settings;
    bool lockFailed = false;
    QList<int> damagedDeviceNos;
    bool damagedShown = false;
    QLockFile instanceLock;
};
