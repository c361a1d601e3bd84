#pragma once

#include "core/ApplicationSetting.h"
#include "core/RebootSchedule.h"
#include "platform/PlatformFileIdentity.h"
#include "platform/PlatformFileWatch.h"

#include <QObject>
#include <QString>

class DeviceList;
class OperationGate;
class QQmlApplicationEngine;
class QTimer;
class SystemLog;

// The application object: the way every part of the program reaches the shared services
// (log, settings, QML objects, devices). GUI thread only.
class ApplicationModel : public QObject
{
    Q_OBJECT
public:
    ApplicationModel(int logLevel, QQmlApplicationEngine *engine, QObject *parent = nullptr);
    ~ApplicationModel() override;

    DeviceList *deviceList() const;
    // The screens' and the close's one-operation-at-a-time gate.
    OperationGate *operationGate() const { return gate; }
    void log(const QString &source, const QString &message, const int &level);

    // Registers one device: its record, worker and worker thread. Texts are UTF-8;
    // ipAddress points to the four address bytes (null leaves the address 0).
    void addDevice(int deviceNo, const char *name, const char *extraText, const quint32 *ipAddress,
                   int inputType, const char *settingFileName, int cycleInterval,
                   const char *startTime, const char *endTime, int wavelength,
                   const char *community, int port);
    void deleteDevices();
    void stopDevices();

    void setDialogScale(double scale);
    double dialogScale() const;

    ApplicationSetting applicationSetting() const;
    // Reads the settings file again when it changed on disk since the last read.
    void reloadApplicationSetting();
    // Reads the settings file.
    void readApplicationSetting();
    int maxChannelCount() const;

    QObject *findQmlObject(const QString &objectName) const;

public slots:
    void onRebootTimer();

private:
    void rebootTick();

    QQmlApplicationEngine *engine;
    SystemLog *systemLog;
    int logLevel;
    DeviceList *devices;
    double dialogScaleValue = 1.0;
    ApplicationSetting setting;
    // The file the setting was read from, as it was then.
    QString settingPath;
    PlatformFileIdentity settingFile;
    // What the path was made from, and the change watch of the file (-1: none).
    QByteArray settingRoot;
    PlatformFileWatch settingWatch;
    int settingWatchId = -1;
    QTimer *rebootTimer;
    RebootSchedule rebootSchedule;
    OperationGate *gate;
};
