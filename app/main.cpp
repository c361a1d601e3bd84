#include "app/MainFrameViewModel.h"
#include "app/QmlTypeRegistry.h"
#include "core/SharedTypes.h"
#include "monitor/ApplicationModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "platform/TerminationSignals.h"
#include "screens/Attributes.h"
#include "screens/ViewFonts.h"
#include "screens/WorkLog.h"
#include "screens/WorkLogEntry.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QTextCodec>

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QGuiApplication app(argc, argv);
    // Installed first: a signal during the start-up is handled once the event loop runs.
    TerminationSignals terminationSignals;
    QGuiApplication::setApplicationName(QStringLiteral("NRT52"));
    QGuiApplication::setOrganizationName(QStringLiteral("VELMORA"));
    // Without a domain the QML file dialogs open at 1x1 px.
    QGuiApplication::setOrganizationDomain(QStringLiteral("velmora.local"));

    QQmlApplicationEngine engine;
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    QmlTypeRegistry::registerListModels();
    ViewFonts::installSubstitutes();

    const QUrl url(QStringLiteral("qrc:/view/MainFrame.qml"));
    bool mainViewFailed = false;
    QObject::connect(&engine, &QQmlApplicationEngine::objectCreated, &app,
                     [&mainViewFailed, url](QObject *object, const QUrl &objectUrl) {
                         if (!object && objectUrl == url)
                             mainViewFailed = true;
                     }, Qt::DirectConnection);

    auto *applicationModel = new ApplicationModel(0, &engine, nullptr);

    engine.load(url);
    if (mainViewFailed || engine.rootObjects().isEmpty()) {
        delete applicationModel; // ends the receiver thread before the process goes
        return 1;
    }
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().first());

    auto *mainFrame = new MainFrameViewModel(applicationModel, window, nullptr);
    mainFrame->createConnection(window);
    engine.rootContext()->setContextProperty(QStringLiteral("attributes"), mainFrame->attributes());

    applicationModel->log(QStringLiteral("main"), QStringLiteral("アプリケーション起動"), 2);
    WorkLog::writeWorkLog(WorkLogEntry(), WorkLogApplicationStarted);
    DeviceList *devices = applicationModel->deviceList();
    for (int i = 0; devices && i < devices->deviceCount(); ++i) {
        LevelChecker *device = devices->device(i);
        if (device && device->measurementState() == int(MeasurementState::Measuring)) {
            WorkLogEntry entry;
            entry.deviceNo = device->deviceNo();
            WorkLog::writeWorkLog(entry, WorkLogAutoStart);
        }
    }

    mainFrame->openFirstScreen();

    // A termination signal takes the path of "はい" to the close question, without the
    // question: measuring devices stopped, the registration written, then the end below.
    QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested, &app,
                     [applicationModel, mainFrame, &app](int signalNumber) {
                         applicationModel->log(QStringLiteral("main"),
                                               QStringLiteral("Signal %1: closing").arg(signalNumber), 2);
                         // After the operation the signal came in (an apply, a readout's end):
                         // the registration and the plans are then of one version.
                         mainFrame->closeAfterRunningOperation([&app] { app.quit(); });
                     });

    if (!terminationSignals.isInstalled())
        applicationModel->log(QStringLiteral("main"), QStringLiteral("Termination signals not handled"), LogError);

    const int exitCode = app.exec();

    applicationModel->log(QStringLiteral("main"), QStringLiteral("アプリケーション終了"), 2);
    // A state other than 0 or 1 keeps the word of the device before it.
    bool started = false;
    for (int i = 0; devices && i < devices->deviceCount(); ++i) {
        LevelChecker *device = devices->device(i);
        if (!device)
            continue;
        if (device->measurementState() == int(MeasurementState::Measuring))
            started = true;
        else if (device->measurementState() == int(MeasurementState::Stopped))
            started = false;
        WorkLogEntry entry;
        entry.deviceNo = device->deviceNo();
        entry.started = started;
        WorkLog::writeWorkLog(entry, WorkLogEndedInState);
    }
    WorkLog::writeWorkLog(WorkLogEntry(), WorkLogApplicationEnded);

    // The device list waits for every worker to leave its loop before a device goes.
    delete applicationModel;
    delete mainFrame;
    return exitCode;
}
