#pragma once

#include "screens/FrameHost.h"

#include "settings/SystemSettingViewModel.h"
#include "storage/RegistrationFile.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QSettings>

// The system setting page in the real main window, driven as the operator drives it: the
// sliders moved, the buttons pressed, the pop-up read and answered.
class SystemSettingFixture
{
public:
    FrameRoot root;
    std::unique_ptr<FrameHost> host;

    QString iniPath() const { return root.settingsFolder() + QStringLiteral("/application_setting.ini"); }

    bool writeIni(const QByteArray &content) const { return root.writeSetting(QStringLiteral("application_setting.ini"), content); }

    // One registered device per address ("127.0.0.1:PORT"), named "受信点N"; measuring at
    // start-up when measuring is set (with the two-channel terrestrial plan of planLines).
    bool writeDevices(const QStringList &addresses, bool measuring) const
    {
        QVector<RegistrationRecord> records;
        for (int i = 0; i < addresses.size(); ++i) {
            RegistrationRecord r;
            r.deviceNo = i + 1;
            r.name = QStringLiteral("受信点%1").arg(i + 1);
            RegistrationFile::splitAddressField(addresses.at(i), &r.ipAddress, &r.port);
            r.inputType = QStringLiteral("同軸");
            r.cycleInterval = QStringLiteral("連続");
            r.startTime = r.endTime = QStringLiteral("常時");
            r.wavelength = QStringLiteral("1550");
            r.serialNumber = r.macAddress = r.firmwareVersion = QStringLiteral("---");
            r.measurementState = measuring ? 0 : 1;
            records.append(r);
            const QByteArray plan = "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring\n"
                                    "0,13,473142,0,0,0,1\n0,20,515142,0,0,0,1\n";
            if (!root.writeSetting(QStringLiteral("MeasurementChannelSetting/%1.csv").arg(i + 1), plan))
                return false;
        }
        return RegistrationFile::write(RegistrationFile::filePath(), records);
    }

    bool start()
    {
        host.reset(new FrameHost);
        return host->isValid() && host->waitForBoot();
    }

    SystemSettingViewModel *screen() const
    {
        return qobject_cast<SystemSettingViewModel *>(host->frame->viewModelOf(QStringLiteral("SystemSetting")));
    }

    QObject *page() const { return host->find(QStringLiteral("SystemSetting")); }

    QObject *pageChild(const QString &name) const
    {
        QObject *p = page();
        return p ? p->findChild<QObject *>(name) : nullptr;
    }

    void open() const
    {
        host->transit(QStringLiteral("Home.qml"));
        host->transit(QStringLiteral("SystemSetting.qml"));
    }

    // The value a setting's slider shows (whole seconds, or 0/1).
    int shown(const QString &name) const
    {
        QObject *setting = pageChild(name);
        return setting ? setting->property("value").toInt() : -1;
    }

    // Moves a setting's slider to value as a drag would end there.
    bool move(const QString &name, int value) const
    {
        QObject *slider = pageChild(name + QStringLiteral("Slider"));
        if (!slider)
            return false;
        slider->setProperty("value", value);
        return QMetaObject::invokeMethod(slider, "moved");
    }

    // Clicks a control of the page (or of its pop-up) by object name, with the mouse.
    bool click(const QString &name) const
    {
        // The operator clicks what is drawn: a row lays out its buttons (the pop-up's, after
        // their visibility changed with the question) only when the next frame is made.
        QSignalSpy drawn(host->window, &QQuickWindow::frameSwapped);
        host->window->update();
        if (!drawn.wait(5000))
            return false;
        auto *item = qobject_cast<QQuickItem *>(pageChild(name));
        if (!item || !item->isVisible())
            return false;
        const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        QTest::mouseClick(host->window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
        return true;
    }

    bool popupShown() const
    {
        QObject *popup = pageChild(QStringLiteral("messagePopup"));
        return popup && popup->property("visible").toBool();
    }

    // The text of the pop-up on show, empty without one.
    QString popupText() const
    {
        return popupShown() ? page()->property("messagePopupText").toString() : QString();
    }

    QString topPageName() const { return host->currentPageName(); }

    // The file as a fresh reader sees it.
    QVariant iniValue(const QString &key) const
    {
        QSettings ini(iniPath(), QSettings::IniFormat);
        ini.setIniCodec("UTF-8");
        return ini.value(key);
    }
};
