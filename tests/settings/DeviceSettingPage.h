#pragma once

#include "screens/FrameHost.h"
#include "core/DeviceSettingModel.h"
#include "monitor/DeviceList.h"
#include "settings/DeviceSettingViewModel.h"

#include <QQuickItem>
#include <QtTest>

#include <memory>

// The main window on a root of its own, opened on the device setting screen, and the ways a
// person works that screen: typing into a field, clicking a control. A test class takes it
// as a second base.
class DeviceSettingPage
{
protected:
    std::unique_ptr<FrameRoot> root;
    std::unique_ptr<FrameHost> host;

    // A fresh root holding that registration (none when empty); the window is closed first.
    bool makeRoot(const QByteArray &registration)
    {
        close();
        root.reset(new FrameRoot);
        return root->prepare()
               && (registration.isEmpty()
                   || root->writeSetting(QStringLiteral("DeviceRegistSetting.csv"), registration));
    }

    // Loads the main window on the root made last.
    bool start()
    {
        host.reset(new FrameHost);
        return host->isValid();
    }

    // Waits for the start-up pages, then opens the device setting screen.
    bool openScreen() const
    {
        if (!host->waitForBoot())
            return false;
        host->transit(QStringLiteral("DeviceSetting.qml"));
        return QTest::qWaitFor([this] { return host->currentPageName() == QLatin1String("DeviceSetting"); });
    }

    bool open(const QByteArray &registration) { return makeRoot(registration) && start() && openScreen(); }

    void close()
    {
        host.reset();
        root.reset();
    }

    DeviceSettingViewModel *vm() const
    {
        return qobject_cast<DeviceSettingViewModel *>(host->frame->viewModelOf(QStringLiteral("DeviceSetting")));
    }
    DeviceSettingModel *table() const
    {
        return qobject_cast<DeviceSettingModel *>(host->find(QStringLiteral("deviceSettingModel")));
    }
    QQuickItem *page() const { return qobject_cast<QQuickItem *>(host->find(QStringLiteral("DeviceSetting"))); }
    DeviceList *devices() const { return host->app->deviceList(); }
    QString cell(int row, int role) const { return table()->data(table()->index(row), role).toString(); }
    QByteArray registrationBytes() const { return root->readFile(root->registrationPath()); }

    // A row button as the page reports it.
    void edit(const char *button, const QString &value, int row) const
    {
        vm()->onRowButtonClicked(QLatin1String(button), value, row);
    }

    // The visible item of that name in the delegate of a repeater's row (delegates have no
    // object parent to search).
    QQuickItem *inRepeater(const char *repeaterName, int row, const char *name) const
    {
        QObject *repeater = host->window->findChild<QObject *>(QLatin1String(repeaterName));
        QQuickItem *item = nullptr;
        if (repeater)
            QMetaObject::invokeMethod(repeater, "itemAt", Q_RETURN_ARG(QQuickItem *, item), Q_ARG(int, row));
        return FrameHost::visibleItemBelow(item, QLatin1String(name));
    }
    QQuickItem *inRow(int row, const char *name) const { return inRepeater("settingListRowsRepeater", row, name); }

    // Focus on the field, everything in it selected, then the keys as a person types them;
    // no keys clears the field as a person does: Ctrl+A, Delete.
    void typeInto(QQuickItem *field, const QByteArray &keys) const
    {
        QVERIFY(field);
        field->forceActiveFocus();
        QTRY_VERIFY(field->hasActiveFocus());
        QVERIFY(QMetaObject::invokeMethod(field, "selectAll"));
        if (keys.isEmpty()) {
            QTest::keyClick(host->window, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(host->window, Qt::Key_Delete);
        }
        for (const char key : keys)
            QTest::keyClick(host->window, key);
    }

    // A left click in the middle of the item once it is shown and laid out.
    void clickItem(QQuickItem *item) const
    {
        QVERIFY(item);
        QTRY_VERIFY(item->isVisible() && item->width() > 0);
        const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        QTest::mouseClick(host->window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    }

    void clickNamed(const char *name) const
    {
        QQuickItem *item = nullptr;
        QTRY_VERIFY2((item = host->visibleItem(QLatin1String(name))), name);
        clickItem(item);
    }
};
