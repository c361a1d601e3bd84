#pragma once

#include "core/SharedTypes.h"
#include "screens/WorkLogEntry.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariantMap>

#include <cstddef>

class ApplicationModel;
class LevelChecker;

// Base of the screen view models: the life cycle the frame drives (createConnection,
// activate, resume / suspend, deactivate), the page's four button slots, and the page
// property writes and log lines every screen shares.
class AbstractViewModel : public QObject
{
    Q_OBJECT
public:
    // One connection by signature strings between the page and this view model: from a
    // page signal to a slot of this object (fromPage), or from a signal of this object to a
    // page function.
    struct PageConnection {
        bool fromPage;
        const char *signal;
        const char *slot;
    };

    AbstractViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent = nullptr);
    ~AbstractViewModel() override;

    virtual void resume();
    virtual void suspend();
    virtual void createConnection(QObject *page, QObject *frame);
    virtual void activate();
    virtual void deactivate();
    virtual void checkChangeDialog();

    void setQmlPath(const QString &path) { qmlPath = path; }
    QString currentQmlPath() const { return qmlPath; }
    void setTakeOver(const QVariantMap &map) { takeOver = map; }
    QVariantMap currentTakeOver() const { return takeOver; }
    ScreenId currentScreenId() const { return screenId; }
    QObject *currentPage() const { return page; }

    static void writeWorkLog(const WorkLogEntry &entry, WorkLogKind kind);
    // A device that cannot measure is marked stopped, with its work-history line.
    static void markStopped(LevelChecker *device, int deviceNo);
    // The work-history line every screen writes when it becomes active.
    void writeScreenChangeLog() const;

public slots:
    virtual void onButtonClicked(QString button);
    virtual void onListButtonClicked(QString button, int index, int clicked);
    virtual void onRowButtonClicked(QString button, QString buttonvalue, int rowvalue);
    virtual void onTimeChangeButtonClicked(QString button, QString starttime, QString endtime, int row);

protected:
    // The application object, or null when it is missing or of another type.
    ApplicationModel *app() const;
    // One log line with this screen as source, skipped without an application object.
    void log(const QString &message, int level = LogNormal) const;
    void logEnter(const char *operation) const;
    void logLeave(const char *operation) const;
    // Writes a page property by name; skipped while no page is known.
    void setPageProperty(const char *name, const QVariant &value) const;

    // Makes the connections with the current page (each once), or undoes them; nothing
    // while no page is known.
    template <std::size_t N>
    void connectPageSignals(const PageConnection (&connections)[N], bool connecting)
    {
        connectPageSignals(connections, int(N), connecting);
    }
    void connectPageSignals(const PageConnection *connections, int count, bool connecting);

    // After stopping devices: waits until no worker of the devices at these indexes is in
    // (or about to enter) its polling loop, in pauses of WorkerWaitStepMs, at most
    // WorkerWaitSteps of them. Logs "ThreadWaitTimes!===<pauses>" when it had to wait
    // (WorkerWaitSteps + 1 when it gave up). Other events than user input are processed
    // meanwhile, since worker ticks pass through this thread, and input too while an
    // InputShield is up, which throws it away. Indexes without a device are ignored. True
    // when every worker has left; a device whose worker has not must not have its lists or
    // settings replaced.
    static constexpr int WorkerWaitStepMs = 20;
    static constexpr int WorkerWaitSteps = 500;
    bool waitForWorkersToLeave(const QList<int> &deviceIndexes) const;

    // The page is owned by QML and dies with each visit: a guarded pointer never dangles.
    QPointer<QObject> page;
    QString qmlPath;
    QObject *applicationModel;
    ScreenId screenId;
    QPointer<QObject> frame;
    QVariantMap takeOver;
    QObject *owner;
};
