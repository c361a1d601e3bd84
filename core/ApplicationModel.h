#pragma once

#include "core/ApplicationSetting.h"

#include <QObject>
#include <QString>

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

    void log(const QString &source, const QString &message, const int &level);

    void setDialogScale(double scale);
    double dialogScale() const;

    ApplicationSetting applicationSetting() const;
    void reloadApplicationSetting();
    void readApplicationSetting();
    int maxChannelCount() const;

    QObject *findQmlObject(const QString &objectName) const;

private:
    QQmlApplicationEngine *engine;
    SystemLog *systemLog;
    int logLevel;
    double dialogScaleValue = 1.0;
    ApplicationSetting setting;
    QTimer *rebootTimer;
    bool rebootInProgress = false;
};
