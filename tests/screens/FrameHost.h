#pragma once

#include "app/MainFrameViewModel.h"
#include "app/QmlTypeRegistry.h"
#include "monitor/ApplicationModel.h"
#include "screens/Attributes.h"
#include "screens/ViewFonts.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QImage>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Messages that must never appear while the frame is built or used: a connection by
// signature that found no signal or slot, and QML errors.
class QmlMessageGuard
{
public:
    static void install()
    {
        previous() = qInstallMessageHandler(&QmlMessageGuard::handler);
    }

    // The bad messages since the last call, and forgets them.
    static QStringList take()
    {
        QMutexLocker locker(&mutex());
        const QStringList result = bad();
        bad().clear();
        return result;
    }

    static bool isBad(const QString &text)
    {
        static const char *const patterns[] = {
            "No such signal", "No such slot", "ReferenceError", "TypeError", "SyntaxError",
            "is not a type", "Cannot assign", "Unable to assign", "is not defined",
            "Type MessageDialog unavailable", "Cannot anchor", "Cannot open", "failed to load",
            "Binding loop", "Component is not ready", "Invalid property", "Cannot override",
            "QQmlComponent", "QQmlApplicationEngine failed"};
        for (const char *pattern : patterns) {
            if (text.contains(QLatin1String(pattern)))
                return true;
        }
        // Any warning naming a QML file of ours.
        return text.contains(QLatin1String("qrc:/view/"));
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type != QtDebugMsg && type != QtInfoMsg && isBad(text)) {
            QMutexLocker locker(&mutex());
            bad().append(text);
        }
        if (previous())
            previous()(type, context, text);
    }

    static QtMessageHandler &previous()
    {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    static QStringList &bad()
    {
        static QStringList list;
        return list;
    }
    static QMutex &mutex()
    {
        static QMutex m;
        return m;
    }
};

// A root folder of its own (NRT52_ROOT), a temporary folder of its own for the
// single-instance lock (TMPDIR) and a working folder for the application log.
class FrameRoot
{
public:
    // TMPDIR goes back to what it was: left pointing into the removed folder, Qt's temporary
    // path would be empty and the next temporary folders would be made under "/".
    ~FrameRoot()
    {
        if (!tmpdirChanged)
            return;
        if (hadTmpdir)
            qputenv("TMPDIR", previousTmpdir);
        else
            qunsetenv("TMPDIR");
    }

    bool prepare()
    {
        if (!dir.isValid())
            return false;
        qputenv("NRT52_ROOT", dir.path().toUtf8());
        if (!tmpdirChanged) {
            hadTmpdir = qEnvironmentVariableIsSet("TMPDIR");
            previousTmpdir = qgetenv("TMPDIR");
            tmpdirChanged = true;
        }
        qputenv("TMPDIR", (dir.path() + QStringLiteral("/tmp")).toUtf8());
        const bool made = QDir().mkpath(dir.path() + QStringLiteral("/tmp"))
                          && QDir().mkpath(workFolder()) && QDir().mkpath(settingsFolder())
                          && QDir().mkpath(settingsFolder() + QStringLiteral("/MeasurementChannelSetting"))
                          && QDir().mkpath(settingsFolder() + QStringLiteral("/AlertSetting"))
                          && QDir().mkpath(dir.path() + QStringLiteral("/InternalReadOnly/Mibs/Vm"));
        if (!made)
            return false;
        QFile::copy(TestPaths::sourceDir() + QStringLiteral("/sim/VEDIRUDO-ZER"),
                    dir.path() + QStringLiteral("/InternalReadOnly/Mibs/Vm/VEDIRUDO-ZER"));
        // The reboot marker, installed with the program.
        QFile::copy(TestPaths::sourceDir() + QStringLiteral("/demo/root/InternalReadOnly/.reboot"),
                    dir.path() + QStringLiteral("/InternalReadOnly/.reboot"));
        return QDir::setCurrent(workFolder());
    }

    QString path() const { return dir.path(); }
    QString workFolder() const { return dir.path() + QStringLiteral("/work"); }
    QString settingsFolder() const { return dir.path() + QStringLiteral("/InternalReadOnly/CheckerSettings"); }
    QString registrationPath() const { return settingsFolder() + QStringLiteral("/DeviceRegistSetting.csv"); }
    QString workLogPath() const
    {
        return dir.path() + QStringLiteral("/InternalReadOnly/WORK_LOG/")
               + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv");
    }

    // Writes a settings file below the checker settings folder, bytes as given.
    bool writeSetting(const QString &relativePath, const QByteArray &bytes) const
    {
        const QString path = settingsFolder() + QLatin1Char('/') + relativePath;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    }

    QByteArray readFile(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The application log's lines, from line `from` on.
    QStringList logLines(int from = 0) const
    {
        const QStringList lines = QString::fromUtf8(readFile(workFolder() + QStringLiteral("/pcapplication.log")))
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return lines.mid(from);
    }

    // The log lines from `from` on, reduced to "[source] message".
    QStringList logMessages(int from = 0) const
    {
        QStringList result;
        for (const QString &line : logLines(from)) {
            const int bracket = line.indexOf(QLatin1Char('['));
            result.append(bracket >= 0 ? line.mid(bracket) : line);
        }
        return result;
    }

private:
    // The temporary folder as it was before any root turned TMPDIR to its own: a root made
    // while another still lives is made beside it, not inside it, where the other's removal
    // would take it away.
    static QString outerTempPath()
    {
        static const QString path = QDir::tempPath();
        return path;
    }

    QTemporaryDir dir{outerTempPath() + QStringLiteral("/NRT52-root-XXXXXX")};
    bool tmpdirChanged = false;
    bool hadTmpdir = false;
    QByteArray previousTmpdir;
};

// The main view loaded for real and its frame view model, built as main builds them.
class FrameHost
{
public:
    explicit FrameHost(bool openFirstScreen = true)
    {
        static bool registered = false;
        if (!registered) {
            QCoreApplication::setApplicationName(QStringLiteral("NRT52"));
            QCoreApplication::setOrganizationName(QStringLiteral("VELMORA"));
            QCoreApplication::setOrganizationDomain(QStringLiteral("velmora.local"));
            QmlTypeRegistry::registerListModels();
            ViewFonts::installSubstitutes();
            registered = true;
        }
        engine.reset(new QQmlApplicationEngine);
        // The quit of the main view must not end the test.
        QObject::disconnect(engine.get(), SIGNAL(quit()), nullptr, nullptr);
        QObject::connect(engine.get(), &QQmlEngine::quit, [this]() { ++quitRequests; });
        app = new ApplicationModel(0, engine.get(), nullptr);
        engine->load(QUrl(QStringLiteral("qrc:/view/MainFrame.qml")));
        if (engine->rootObjects().isEmpty())
            return;
        window = qobject_cast<QQuickWindow *>(engine->rootObjects().first());
        frame = new MainFrameViewModel(app, window, nullptr);
        frame->createConnection(window);
        engine->rootContext()->setContextProperty(QStringLiteral("attributes"), frame->attributes());
        if (openFirstScreen)
            frame->openFirstScreen();
    }

    ~FrameHost()
    {
        // As main ends: the application object first, then the frame, then the engine.
        delete app;
        delete frame;
        engine.reset();
    }

    bool isValid() const { return window && frame; }

    // Waits for the main view's start-up pages (about 5 s) to be through.
    bool waitForBoot() const
    {
        return QTest::qWaitFor([this]() { return window->property("bBoot").toBool(); }, 60000);
    }

    QObject *find(const QString &name) const { return app->findQmlObject(name); }
    QObject *child(const char *name) const { return window->findChild<QObject *>(QLatin1String(name)); }

    void transit(const QString &screen) const
    {
        QMetaObject::invokeMethod(window, "transit", Q_ARG(QVariant, QVariant(screen)));
    }

    // The object name of the page on top of the main view's stack.
    QString currentPageName() const
    {
        QObject *stack = child("stackView");
        QObject *top = stack ? stack->property("currentItem").value<QObject *>() : nullptr;
        return top ? top->objectName() : QString();
    }

    // The first visible item of that object name in the window, popups included (delegates
    // of views are found too, which have no object parent to search).
    QQuickItem *visibleItem(const QString &name) const { return visibleItemBelow(window->contentItem(), name); }

    // A left click in the middle of that item; false when no such item is shown.
    bool click(const QString &name) const
    {
        QQuickItem *target = visibleItem(name);
        if (!target)
            return false;
        const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
        return true;
    }

    // Grabs the window into fileName in the build folder; false when the
    // picture could not be taken or saved.
    bool savePicture(const QString &fileName) const
    {
        const QImage image = window->grabWindow();
        const QString path = QDir(TestPaths::buildDir()).filePath(fileName);
        qInfo("picture: %s", qPrintable(path));
        return !image.isNull() && image.save(path);
    }

    static QQuickItem *visibleItemBelow(QQuickItem *item, const QString &name)
    {
        if (!item)
            return nullptr;
        if (item->objectName() == name && item->isVisible())
            return item;
        const QList<QQuickItem *> children = item->childItems();
        for (QQuickItem *childItem : children) {
            if (QQuickItem *found = visibleItemBelow(childItem, name))
                return found;
        }
        return nullptr;
    }

    std::unique_ptr<QQmlApplicationEngine> engine;
    ApplicationModel *app = nullptr;
    QQuickWindow *window = nullptr;
    MainFrameViewModel *frame = nullptr;
    // Quits the main view asked for (the test goes on).
    int quitRequests = 0;
};
