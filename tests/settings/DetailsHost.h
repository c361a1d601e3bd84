#pragma once

#include "../screens/FrameHost.h"

#include "core/ChannelDetailsModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "settings/ChannelDetailsViewModel.h"
#include "settings/ChannelSettingViewModel.h"
#include "storage/AlertSettingFile.h"
#include "storage/ChannelSettingFile.h"
#include "support/ResultListSetup.h"
#include "support/TestFiles.h"

#include <QQuickItem>
#include <QSignalSpy>

// The channel details screen in the real main window: the channel setting screen's
// hand-over is played by emitting its signals, the working copy is written by the test.
class DetailsHost
{
public:
    static QByteArray planHeader() { return ChannelSettingFile::headerLine().toUtf8() + '\n'; }
    static QByteArray alertHeader() { return AlertSettingFile::headerLine().toUtf8() + '\n'; }

    bool start()
    {
        if (!root.prepare())
            return false;
        host.reset(new FrameHost);
        return host->isValid() && host->waitForBoot();
    }

    // A device as start-up registers it; stopped, and without an address unless given.
    LevelChecker *addDevice(const QString &name, const QString &host_ = QStringLiteral("0.0.0.0"), int port = 161)
    {
        DeviceList *list = host->app->deviceList();
        const int number = list->deviceCount() + 1;
        const quint32 ip = ResultListSetup::packedAddress(host_);
        host->app->addDevice(number, name.toUtf8().constData(), "", &ip, 0, nullptr, 0, "常時", "常時", 3,
                             "kv52gate", port);
        return list->device(number - 1);
    }

    QString planPath(int deviceNo, ChannelSettingFile::Copy copy) const
    {
        return ChannelSettingFile::filePath(deviceNo, copy);
    }
    QString alertPath(int deviceNo, AlertSettingFile::Copy copy) const
    {
        return AlertSettingFile::filePath(deviceNo, copy);
    }
    bool writePlan(int deviceNo, ChannelSettingFile::Copy copy, const QByteArray &rows) const
    {
        return TestFiles::writeBytes(planPath(deviceNo, copy), planHeader() + rows);
    }
    bool writeAlert(int deviceNo, AlertSettingFile::Copy copy, const QByteArray &bytes) const
    {
        return TestFiles::writeBytes(alertPath(deviceNo, copy), bytes);
    }

    ChannelSettingViewModel *channelSetting() const
    {
        return qobject_cast<ChannelSettingViewModel *>(host->frame->viewModelOf("ChannelSetting"));
    }
    ChannelDetailsViewModel *details() const
    {
        return qobject_cast<ChannelDetailsViewModel *>(host->frame->viewModelOf("ChannelDetails"));
    }

    // The channel setting screen's hand-over, then the switch to the page.
    QObject *open(int deviceNo, const QString &name, ScreenId origin, const QString &ofdm = QStringLiteral("MER"),
                  const QString &catv = QStringLiteral("MER"), bool changed = false)
    {
        emit channelSetting()->dataPassScreenData(deviceNo, name, origin);
        emit channelSetting()->dataPassMerCnr(deviceNo, ofdm, catv, changed);
        host->transit(QStringLiteral("ChannelDetails.qml"));
        return page();
    }

    void goHome() const { host->transit(QStringLiteral("Home.qml")); }

    QObject *page() const { return host->find(QStringLiteral("ChannelDetails")); }
    QString topPageName() const { return host->currentPageName(); }

    ChannelDetailsModel *model() const
    {
        return qobject_cast<ChannelDetailsModel *>(host->find(QStringLiteral("channelDetailsModel")));
    }

    // The model's texts of row r, in role order.
    QStringList modelRow(int r) const
    {
        QStringList texts;
        ChannelDetailsModel *m = model();
        for (int role = ChannelDetailsModel::ChannelNoRole; role <= ChannelDetailsModel::ConvCNRRole; ++role)
            texts.append(m->data(m->index(r), role).toString());
        return texts;
    }

    // What a control of the page sends.
    void send(const QString &bandname, const QString &chname, const QString &buttonName, const QString &text,
              const QString &alert = QString(), int row = 0, const QString &s1 = QString(),
              const QString &s2 = QString(), const QString &s3 = QString()) const
    {
        QMetaObject::invokeMethod(page(), "detailChange", Q_ARG(QString, bandname), Q_ARG(QString, chname),
                                  Q_ARG(QString, buttonName), Q_ARG(QString, text), Q_ARG(QString, alert),
                                  Q_ARG(int, row), Q_ARG(QString, s1), Q_ARG(QString, s2), Q_ARG(QString, s3));
    }

    void save() const { QMetaObject::invokeMethod(page(), "saveSignal", Q_ARG(bool, true)); }

    // A named object of the page: in its object tree or among its items (the rows the
    // repeater makes are items only).
    QObject *pageChild(const QString &name) const { return find(page(), name); }

    static QObject *find(QObject *from, const QString &name)
    {
        if (!from)
            return nullptr;
        if (QObject *found = from->findChild<QObject *>(name))
            return found;
        if (auto *item = qobject_cast<QQuickItem *>(from)) {
            for (QQuickItem *child : item->childItems()) {
                if (child->objectName() == name)
                    return child;
                if (QObject *found = find(child, name))
                    return found;
            }
        }
        return nullptr;
    }
    // The open pop-up's text, empty when the text pop-up is closed.
    QString popupText() const
    {
        QObject *popup = pageChild(QStringLiteral("channeldetailsPopup"));
        QObject *text = pageChild(QStringLiteral("popuptext2"));
        return popup && popup->property("opened").toBool() && text ? text->property("text").toString() : QString();
    }
    bool discardAsked() const
    {
        QObject *popup = pageChild(QStringLiteral("discardPopup"));
        return popup && popup->property("visible").toBool();
    }
    void closePopups() const
    {
        for (const char *name : {"channeldetailsPopup", "discardPopup", "catvchange", "alertPopup"}) {
            if (QObject *popup = pageChild(QLatin1String(name)))
                QMetaObject::invokeMethod(popup, "close");
        }
    }

    FrameRoot root;
    std::unique_ptr<FrameHost> host;
};
