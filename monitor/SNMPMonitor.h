#pragma once

#include "monitor/MeasurementDeadline.h"
#include "monitor/ParallelTask.h"
#include "monitor/RequestMode.h"
#include "monitor/SnmpRequestTable.h"

#include <QMap>
#include <QString>

#include <atomic>

struct ApplicationSetting;
struct ChannelSettingRow;
class LevelChecker;
class SystemLog;

// The polling worker of one device, living in its own "SNMP Monitor" thread. Its work()
// loops while the device is monitored: in measurement mode it selects the device's channels
// one by one (pushing the device configuration at every pass start), waits for each channel
// to settle and reads its result; in information mode it reads the device's identity once.
//
// The slots are reached from the GUI thread through direct connections and only set atomic
// flags that the loop reads on its next turn. Everything else, the measurement wait
// included, belongs to the worker thread.
class SNMPMonitor : public ParallelTask
{
    Q_OBJECT

public:
    SNMPMonitor(const int &logLevel, int deviceIndex, QString ipAddress, int waitMs, SystemLog *log,
                QObject *parent = nullptr);
    ~SNMPMonitor() override;

    // Pause at the top of every loop turn: ThreadSleep clamped to 100..3000 ms.
    int threadSleep() const { return threadSleepMs; }
    int index() const { return deviceIndex; }

    // The device's cycle text -> CycleInterval value; a text not in the map counts as 0.
    static const QMap<QString, int> &cycleIntervalMap();
    static int cycleIntervalValue(const QString &cycleText);
    // Length of the cycle wait of a CycleInterval value; 0 for continuous and unknown values.
    static int cycleIntervalMsec(int cycleInterval);
    // The settle interval of a band from the PollingInterval settings; 0 for an unknown band.
    static int bandIntervalMs(const ApplicationSetting &setting, int bandTabIndex);
    // The wait before a channel's result is read.
    static int channelWaitMs(const ApplicationSetting &setting, const ChannelSettingRow &row,
                             bool withFirstRecv);
    // 100 with ChannelCountFlg 1, else 50.
    static int maxChannelCount(const LevelChecker *device);

    // For the owner's teardown, GUI thread. The device given by the last start.
    LevelChecker *monitoredDevice() const { return device.load(); }
    // Whether the worker may still use its device: monitoring is on, or a work call is
    // running. Once monitoring is off and this reads false, no later work call touches the
    // device.
    bool isUsingDevice() const { return isMonitoring.load() || inWork.load(); }
    // Loop turns begun so far, from any thread: two more than seen once mean the loop has
    // gone through a whole turn since, for whoever waits for something not to happen.
    quint64 turnCount() const { return turns.load(); }
    // Ends the loop at its next check, without a trace line; for a worker being discarded.
    void cancelMonitoring() { isMonitoring.store(false); }

public slots:
    // Ignored while monitoring. pollingInterval and timeOutInterval are not used.
    void onRequestToStartMonitoring(LevelChecker *device, int pollingInterval, int timeOutInterval);
    // Ends the loop at its next check; nothing is sent to the device.
    void onRequestToStopMonitoring();
    // The loop sends the device its stop selection, then ends; an identity pass just ends.
    void onRequestToStopMeasurement();
    // As onRequestToStopMeasurement, followed by the reboot request.
    void onRequestToStopAndRebootChecker();
    void onChangeRequestMode(RequestMode requestMode);
    void work() override;

signals:
    void notifyStart();
    void notifyStop();
    void notifyResponse(uint index, QString response);

private:
    // Loop turns.
    void informationTurn(LevelChecker *device);
    void measurementTurn(LevelChecker *device);
    void buildStatusGetList(SnmpRequestTable &table);

    // The measurement wait.
    void startMeasurementTimer(LevelChecker *device);
    void onMeasurementTimerTimeout(LevelChecker *device);
    void applyCycleInterval(LevelChecker *device);
    bool isChannelMonitoring(const LevelChecker *device) const;

    // Channel stepping and the configuration push.
    void advanceChannel(LevelChecker *device);
    bool pushConfiguration(LevelChecker *device);
    void selectChannel(LevelChecker *device, int target);
    // A stop of either kind has been asked for; checked between the requests of one step.
    bool stopRequested() const;

    void buildBandSetList(SnmpRequestTable &table, const QString &bandCode, int standard, int polarisation,
                          int localOscillator, const QString &frequency, const QString &channel);
    void sendBandSelection(LevelChecker *device, const ChannelSettingRow &row);
    void sendBandTable(LevelChecker *device, const QString &bandCode, int standard, int polarisation,
                       int localOscillator, const QString &frequency, const QString &channel);
    void sendStopSelection(LevelChecker *device);
    void setMeasureChannelIsdbt(LevelChecker *device, const QString &channel);
    void setMeasureChannelOpticast(LevelChecker *device, const QString &channel);
    void setMeasureChannelLte(LevelChecker *device, const QString &channel);
    void setMeasureChannelBs(LevelChecker *device, int polarisation, const QString &channel);
    void setMeasureChannelCs(LevelChecker *device, int polarisation, const QString &channel);
    void setMeasureChannelJcsat3a(LevelChecker *device, int polarisation, int localOscillator,
                                  const QString &channel);
    void setMeasureChannelJcsat4b(LevelChecker *device, int polarisation, int localOscillator,
                                  const QString &channel);
    void setMeasureChannelSccB(LevelChecker *device, int polarisation, int localOscillator,
                               const QString &channel);
    void setMeasureChannelSccC(LevelChecker *device, int polarisation, int localOscillator,
                               const QString &channel);
    void setMeasureChannelCatvAll(LevelChecker *device, int standard, const QString &channel);
    void setMeasureChannelUl(LevelChecker *device, const QString &frequency, const QString &channel);
    void setMeasureChannelFm(LevelChecker *device, const QString &frequency, const QString &channel);
    void setMeasureChannelPilot(LevelChecker *device, const QString &frequency, const QString &channel);

    // One-object requests.
    void sendSingle(LevelChecker *device, const char *oidSuffix, char type, const QString &value);
    void sendInputType(LevelChecker *device);
    void sendWavelength(LevelChecker *device);
    void sendC24FrequencyType(LevelChecker *device);
    void sendCh8FrequencyType(LevelChecker *device);
    void sendTerrestrialMerCn(LevelChecker *device);
    void sendCatvMerCn(LevelChecker *device);
    void sendPowerSupply(LevelChecker *device, int powerSupply);
    void requestReboot(LevelChecker *device);
    void requestMeasurementResult(LevelChecker *device);

    void trace(const QString &message) const;

    const int deviceIndex;
    QString ipAddressText;                         // worker thread only after construction
    std::atomic<LevelChecker *> device { nullptr }; // not owned
    std::atomic<int> requestMode { int(RequestMode::Measurement) };
    std::atomic<bool> isMonitoring { false };
    bool firstRecvPending = true;                  // worker thread only
    bool cycleWait = false;                        // worker thread only
    std::atomic<bool> stopMeasurementRequested { false };
    // Set by the start slot; the loop then drops the wait and a due result of the last run.
    std::atomic<bool> restartPending { false };
    MeasurementDeadline measurementTimer;          // worker thread only
    bool measurementDue = false;                   // worker thread only
    int appliedCycleInterval = 0;                  // worker thread only
    const int threadSleepMs;
    std::atomic<bool> rebootPending { false };
    std::atomic<bool> inWork { false };            // a work call is running
    std::atomic<quint64> turns { 0 };

    SnmpRequestTable loopTable;                    // the work loop's table
    SnmpRequestTable stepTable;                    // the channel step's table
};
