#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class DeviceList;
class LevelChecker;
class OperationGate;
class QTimer;

// One identity readout of the device setting screen: the id its passes carry, the devices
// still to answer, its bound, and what each reply text does to its device. The screen's
// apply begins and starts it, the screen's end of the readout ends it. GUI thread only.
//
// Idle -> Starting (the devices of an applied import are still being started; no bound yet)
// -> Running (the bound runs) -> Idle (ended). An apply begun meanwhile supersedes it: a new
// id, the bound held until that apply starts it again.
class IdentityReadout : public QObject
{
    Q_OBJECT
public:
    enum class State { Idle, Starting, Running };
    // What a reply text did to its device.
    enum class Reply { Ignored, Stored, Finished, Failed };

    static constexpr int DefaultBoundMs = 15000;

    explicit IdentityReadout(QObject *parent = nullptr);

    State state() const { return current; }
    bool isActive() const { return current != State::Idle; }
    // The id of the latest readout: the passes it starts carry it, and so do their replies.
    quint64 id() const { return readoutId; }

    // A new readout supersedes the running one: a new id, and the old bound must not end it.
    quint64 supersede();
    void beginStarting();
    void startBound();
    // Ended (or abandoned by the close): nothing pending counts any more.
    void stop();

    void setBoundMs(int ms) { boundMs = ms; }
    int bound() const { return boundMs; }

    // One entry per device index, true while its reply is outstanding.
    void setPending(const QList<bool> &pending) { informationPending = pending; }
    QList<bool> pending() const { return informationPending; }
    bool hasPending() const { return informationPending.contains(true); }
    bool isPending(int position) const { return informationPending.value(position); }
    // Marks the device's readout done; true when no device is pending any more.
    bool finish(int position);

    // The device at position when a reply of the given readout (0: one without an id) still
    // counts: the readout runs, the device is pending and its pass is the one that answers.
    LevelChecker *pendingDevice(DeviceList *list, quint64 readout, int position) const;

    // Starts the devices of an applied import that wait for their readout, one per tick,
    // 500 ms apart, never inside an operation, and then the bound (Starting until then).
    void startDevicesPaced(DeviceList *list, OperationGate *gate);
    void stopPacedStarts();
    bool isStartingDevices() const;

    // Stores what the reply text tells of the device's identity.
    static Reply store(LevelChecker *device, const QString &response);

signals:
    // The bound ran out before every device answered.
    void boundReached();
    // The last device of a paced series has been started.
    void devicesStarted();

private:
    void startNextPaced();

    State current = State::Idle;
    quint64 readoutId = 0;
    int boundMs = DefaultBoundMs;
    QTimer *boundTimer = nullptr;
    QList<bool> informationPending;
    QTimer *pacer = nullptr;
    int nextPacedStart = 0;
    QPointer<DeviceList> pacedList;
    QPointer<OperationGate> pacedGate;
};
