#include "core/ApplicationModel.h"
#include "core/QmlTypeRegistry.h"
#include "core/SharedTypes.h"
#include "screens/WorkLog.h"
#include "screens/WorkLogEntry.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTextCodec>

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("NRT52"));
    QGuiApplication::setOrganizationName(QStringLiteral("VELMORA"));
    // Without a domain the QML file dialogs open at 1x1 px.
    QGuiApplication::setOrganizationDomain(QStringLiteral("velmora.local"));

    QQmlApplicationEngine engine;
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    QmlTypeRegistry::registerListModels();

    const QUrl url(QStringLiteral("qrc:/view/MainFrame.qml"));
    bool mainViewFailed = false;
    QObject::connect(&engine, &QQmlApplicationEngine::objectCreated, &app,
                     [&mainViewFailed, url](QObject *object, const QUrl &objectUrl) {
                         if (!object && objectUrl == url)
                             mainViewFailed = true;
                     }, Qt::DirectConnection);

    auto *applicationModel = new ApplicationModel(0, &engine, nullptr);

    engine.load(url);
    if (mainViewFailed || engine.rootObjects().isEmpty())
        return 1;
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    Q_UNUSED(window)

    applicationModel->log(QStringLiteral("main"), QStringLiteral("アプリケーション起動"), 2);
    WorkLog::writeWorkLog(WorkLogEntry(), WorkLogApplicationStarted);

    const int exitCode = app.exec();

    applicationModel->log(QStringLiteral("main"), QStringLiteral("アプリケーション終了"), 2);
    WorkLog::writeWorkLog(WorkLogEntry(), WorkLogApplicationEnded);

    delete applicationModel;
    return exitCode;
}
