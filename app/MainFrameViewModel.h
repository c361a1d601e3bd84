#pragma once

#include "screens/Attributes.h"
#include "screens/ScreenEntry.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class AbstractViewModel;
class ApplicationModel;
class NotifyResponse;
class QQuickWindow;
class SystemLog;

// The view model of the main window: the screen table and its view models, the wiring
// between the screens, the response handler and itself, the screen switching the main view
// reports, the frame's own buttons (HOME, help, zoom) and the window close.
class MainFrameViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Attributes *attributes READ attributes WRITE setAttributes)
    // Read by the screens below this folder, which cannot know this class.
    Q_PROPERTY(QString currentViewName READ currentViewName)
    Q_PROPERTY(QString previousViewName READ previousViewName)
public:
    // One cross connection between two objects named by their screen ("" for the frame or
    // the response handler as the table says), made by signature strings.
    struct CrossConnection {
        const char *sender;   // row name, or "NotifyResponse" / "MainFrame"
        const char *signal;
        const char *receiver;
        const char *slot;
    };
    static const QList<CrossConnection> &crossConnections();

    // Longest wait at the close for the workers of the stopped devices.
    static constexpr int StopWaitMs = 10000;

    MainFrameViewModel(ApplicationModel *applicationModel, QObject *window, QObject *parent = nullptr);
    ~MainFrameViewModel() override;

    void createConnection(QObject *root);
    void openFirstScreen();

    Attributes *attributes() const { return attributesObject; }
    void setAttributes(Attributes *attributes) { attributesObject = attributes; }

    QString currentViewName() const;
    QString previousViewName() const;
    int screenIndex(const QString &name) const;

    QList<ScreenEntry> screenTable() const { return screens; }
    QList<AbstractViewModel *> screenViewModels() const { return viewModels; }
    AbstractViewModel *viewModelOf(const QString &name) const;
    NotifyResponse *responseHandler() const { return notifyResponse; }
    bool isAppPlayNg() const { return appPlayNg; }

    // The close for a termination signal: no operation begins any more, the running one
    // (an apply, a readout's end, a details save) ends first, then the close of
    // "closewindow" runs and then `then` (the quit).
    void closeAfterRunningOperation(std::function<void()> then);

    // The manual the help button opens, and the command line that opens it.
    static QString manualCommandLine();

signals:
    void changeHomeDialog();
    void changeHomeDialogNotify();
    void changeDialogScaleNotify(double scale);

public slots:
    void onOpen(QString screenName);
    void onClose(QString screenName);
    void onButtonClicked(QString button);
    void onHomeButtonClicked();
    void onChangeHomeDialog();
    void closeWritemMeasuerInfo();
    void onScaleButtonClicked(double scale);
    void onWindowCloseNotify(bool value);

private:
    ApplicationModel *app() const;
    void log(const QString &message, int level = 2) const;
    QObject *objectFor(const char *name) const;
    void connectAll(bool connecting);
    void stopMeasuringCheckers();
    void closeDevices();
    void showScreen(int index);

    QPointer<QObject> window;
    QList<ScreenEntry> screens;
    Attributes *attributesObject = nullptr;
    QObject *applicationModel;
    QList<AbstractViewModel *> viewModels;
    AbstractViewModel *currentView = nullptr;
    AbstractViewModel *previousView = nullptr;
    QPointer<QObject> root;
    SystemLog *systemLog = nullptr;
    NotifyResponse *notifyResponse = nullptr;
    bool appPlayNg = false;
};
