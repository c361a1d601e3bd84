#pragma once

#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QPointer>

class DeviceList;
class LevelChecker;
class QTimer;

// Starts of devices whose workers are still finishing a stop. A worker that is asked to
// start while it is still in its loop ignores the start and then leaves the loop, so the
// start would be lost: it is held here, checked every PollMs without blocking the GUI
// thread, and handed to the device list once the worker has let go of the device. A start
// whose worker has not let go by its deadline is reported, not sent.
class PendingMeasurementStarts : public QObject
{
    Q_OBJECT
public:
    static constexpr int PollMs = 50;

    explicit PendingMeasurementStarts(DeviceList *devices, QObject *parent = nullptr);
    ~PendingMeasurementStarts() override;

    // Whether the device's worker is still busy with a previous run, so that a start now
    // would be ignored.
    static bool isWorkerBusy(const DeviceList &devices, const LevelChecker *device);

    // Starts the device (number deviceNo) now when its worker is free, else holds the start
    // until the deadline. True when it was started at once.
    bool startOrHold(int deviceNo, QDeadlineTimer deadline);
    // Forgets a held start (the operator stopped the device again).
    void cancel(int deviceNo);
    bool isHeld(int deviceNo) const;
    int heldCount() const { return held.size(); }

signals:
    void started(int deviceNo);
    // Held starts whose workers did not let go in time. A held start whose device was
    // replaced or removed meanwhile is dropped without a report.
    void startsFailed(QList<int> deviceNumbers);

private:
    struct Held {
        int deviceNo;
        QPointer<LevelChecker> device;
        QDeadlineTimer deadline;
    };

    void startNow(int deviceNo, LevelChecker *device);
    void poll();

    QPointer<DeviceList> devices;
    QList<Held> held;
    QTimer *timer;
};
