#pragma once

#include "app/MainFrameViewModel.h"
#include "app/QmlTypeRegistry.h"
#include "core/MeasureResultModel.h"
#include "core/ScreenUpdateValue.h"
#include "core/SystemLog.h"
#include "monitor/ApplicationModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "monitor/NotifyResponse.h"
#include "platform/PlatformPaths.h"
#include "screens/MeasurementResultViewModel.h"
#include "screens/WorkLog.h"
#include "support/ResultListSetup.h"
#include "support/SimDevices.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQuickItem>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The result list in its real surroundings: a temporary root with the settings file and
// the device MIB module, a main view with the shared result list model and a page stack,
// the application object with its device list, devices registered as start-up registers
// them, and the response handler that builds and changes the rows. The working folder
// moves into the root, so the application log stays there too.
class ResultListFixture
{
public:
    ~ResultListFixture() { teardown(); }

    bool prepare(int oneYearFlg = 0)
    {
        if (!m_root.isValid())
            return false;
        qputenv("NRT52_ROOT", m_root.path().toUtf8());
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_root.path());
        if (SimDevices::installMib(m_root.path()).isEmpty())
            return false;
        if (!writeSettings(oneYearFlg))
            return false;

        static bool registered = false;
        if (!registered) {
            QmlTypeRegistry::registerListModels();
            qRegisterMetaType<ScreenUpdateValue>("ScreenUpdateValue");
            qRegisterMetaType<BandTabIndex>("BandTabIndex");
            qRegisterMetaType<ScreenId>("ScreenId");
            qRegisterMetaType<MeasureResultModel *>("MeasureResultModel*");
            registered = true;
        }
        m_engine.reset(new QQmlApplicationEngine);
        // The pages of the main window are made in its context and pushed onto its stack,
        // as the main window makes them.
        m_engine->loadData(R"(
            import QtQuick 2.15
            import QtQuick.Controls 2.15
            import velmora.levelchecker.measureResultModel 1.0
            import velmora.levelchecker.statusErrorModel 1.0
            ApplicationWindow {
                id: window
                objectName: "MainFrame"
                width: 1010
                height: 504
                visible: false
                property var transits: []
                function transit(screen) { transits.push(screen) }
                function showPage(url) {
                    var component = Qt.createComponent(url)
                    if (component.status !== Component.Ready) {
                        console.warn(component.errorString())
                        return null
                    }
                    var page = component.createObject(stackView)
                    stackView.push(page, {}, StackView.Immediate)
                    return page
                }
                function removePage() {
                    var page = stackView.currentItem
                    stackView.pop(StackView.Immediate)
                    if (page) {
                        page.objectName = ""
                        page.destroy()
                    }
                }
                StackView {
                    id: stackView
                    objectName: "stackView"
                    anchors.fill: parent
                    initialItem: Item { objectName: "Home" }
                    MeasureResultModel { id: measureResultModel; objectName: "measureResultModel" }
                    StatusErrorModel { id: statusErrorModel; objectName: "statusErrorModel" }
                }
            })", QUrl(QStringLiteral("qrc:/view/TestFrame.qml")));
        if (m_engine->rootObjects().isEmpty())
            return false;
        m_app.reset(new ApplicationModel(0, m_engine.get()));
        return m_app->deviceList() != nullptr;
    }

    void teardown()
    {
        if (m_page)
            leavePage();
        delete m_view;
        m_view = nullptr;
        delete m_handler;
        m_handler = nullptr;
        if (m_app && m_app->deviceList()) {
            m_app->stopDevices();
            m_app->deviceList()->waitForPollingLoops(-1, 30000);
        }
        m_app.reset();
        m_engine.reset();
        if (!m_previousFolder.isEmpty()) {
            QDir::setCurrent(m_previousFolder);
            m_previousFolder.clear();
        }
    }

    bool writeSettings(int oneYearFlg)
    {
        return ResultListSetup::writeSettings(QStringLiteral("C:\\VELMORA\\NRT52\\Data"), oneYearFlg, 0);
    }

    // Registers a device as start-up does; its worker thread starts but does not monitor.
    // An address "127.0.0.1:PORT" also gives the port.
    LevelChecker *addDevice(const QString &name, const QString &peer = QStringLiteral("127.0.0.1"),
                            int measurementState = 1)
    {
        DeviceList *list = m_app->deviceList();
        const int number = list->deviceCount() + 1;
        const QStringList hostPort = peer.split(QLatin1Char(':'));
        const int port = hostPort.size() > 1 ? hostPort.at(1).toInt() : 161;
        const quint32 ip = ResultListSetup::packedAddress(hostPort.value(0));
        m_app->addDevice(number, name.toUtf8().constData(), "", &ip, 0, nullptr, 0, "常時", "常時", 3,
                         "kv52gate", port);
        LevelChecker *device = list->device(number - 1);
        if (device)
            device->setMeasurementState(measurementState);
        return device;
    }

    // Appends a channel to the plan with its empty latest result and its thresholds, and
    // renews the device's measurable flag as loading does.
    static void addChannel(LevelChecker *device, int band, const QString &channel, int frequencyKHz,
                           int localKHz = 0, const QString &standard = QStringLiteral("0"))
    {
        ResultListSetup::addChannel(device, band, channel, frequencyKHz, localKHz, standard, true);
        device->setMeasurable(device->ipAddressText() != QLatin1String("0.0.0.0") ? 1 : 0);
    }

    // The response handler; its constructor builds the rows of every device registered.
    NotifyResponse *createHandler()
    {
        m_handler = ResultListSetup::createHandler(m_app.get());
        return m_handler;
    }

    // The result list's view model, wired to the handler by the main frame's own table.
    MeasurementResultViewModel *createViewModel()
    {
        m_view = new MeasurementResultViewModel(ScreenMeasurementResult, m_app.get(), nullptr);
        for (const MainFrameViewModel::CrossConnection &c : MainFrameViewModel::crossConnections()) {
            // The handler's own connections were made with it.
            if (qstrcmp(c.sender, "MeasurementResult") != 0 && qstrcmp(c.receiver, "MeasurementResult") != 0)
                continue;
            QObject *sender = objectFor(c.sender);
            QObject *receiver = objectFor(c.receiver);
            if (sender && receiver)
                QObject::connect(sender, QByteArray("2").append(c.signal).constData(), receiver,
                                 QByteArray("1").append(c.slot).constData());
        }
        return m_view;
    }

    // Opens the page as the frame opens a screen: made in the main window's context and
    // pushed onto its stack, then createConnection, activate and resume.
    QQuickItem *showPage()
    {
        QVariant page;
        QMetaObject::invokeMethod(window(), "showPage", Q_RETURN_ARG(QVariant, page),
                                  Q_ARG(QVariant, QStringLiteral("MeasurementResult.qml")));
        m_page = qobject_cast<QQuickItem *>(page.value<QObject *>());
        if (!m_page)
            return nullptr;
        m_view->createConnection(m_page, window());
        m_view->activate();
        m_view->resume();
        return m_page;
    }

    void leavePage()
    {
        m_view->suspend();
        m_view->deactivate();
        QMetaObject::invokeMethod(window(), "removePage");
        m_page = nullptr;
    }

    QQuickItem *page() const { return m_page; }
    MeasurementResultViewModel *view() const { return m_view; }

    // The day's work-history lines after the header, without their time stamps.
    static QStringList workLogEntries()
    {
        const QString path = WorkLog::folderPath() + QLatin1Char('/')
                             + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv");
        QStringList entries;
        const QStringList lines = readShiftJis(path).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (int i = 1; i < lines.size(); ++i) {
            QString line = lines.at(i);
            line.remove(QLatin1Char('\r'));
            entries.append(line.mid(QStringLiteral("yyyy/MM/dd hh:mm:ss,").size()));
        }
        return entries;
    }

    // The application log's lines of a source, without their time stamps.
    static QStringList logLines(const QString &source)
    {
        QStringList found;
        const QString marker = QStringLiteral(" [%1] ").arg(source);
        for (const QString &line : QString::fromUtf8(readFile(QStringLiteral("pcapplication.log"))).split(QLatin1Char('\n'))) {
            const int at = line.indexOf(marker);
            if (at >= 0)
                found.append(line.mid(at + marker.size()));
        }
        return found;
    }

    MeasureResultModel *model() const
    {
        return qobject_cast<MeasureResultModel *>(m_app->findQmlObject(QStringLiteral("measureResultModel")));
    }

    QObject *window() const { return m_engine->rootObjects().value(0); }
    QQmlApplicationEngine *engine() const { return m_engine.get(); }
    ApplicationModel *app() const { return m_app.get(); }
    DeviceList *devices() const { return m_app->deviceList(); }
    NotifyResponse *handler() const { return m_handler; }
    QString root() const { return m_root.path(); }

    static QByteArray readFile(const QString &path) { return TestFiles::readBytes(path); }
    static QString readShiftJis(const QString &path) { return TestFiles::readShiftJis(path); }

    // The row of the device's top row in the present order, -1 when none.
    int topRow(int deviceNo) const
    {
        MeasureResultModel *m = model();
        for (int r = 0; r < m->rowCount(); ++r) {
            const MeasureResultRow row = m->row(r);
            if (row.latestData && row.no.toInt() == deviceNo)
                return r;
        }
        return -1;
    }

private:
    QObject *objectFor(const char *name) const
    {
        if (qstrcmp(name, "MeasurementResult") == 0)
            return m_view;
        if (qstrcmp(name, "NotifyResponse") == 0)
            return m_handler;
        return nullptr;
    }

    QTemporaryDir m_root;
    QString m_previousFolder;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    std::unique_ptr<ApplicationModel> m_app;
    NotifyResponse *m_handler = nullptr;
    MeasurementResultViewModel *m_view = nullptr;
    QPointer<QQuickItem> m_page;
};
