#pragma once

#include "core/ApplicationSetting.h"
#include "monitor/AlertRecord.h"
#include "monitor/AlertSettingRow.h"
#include "monitor/ChannelResultRow.h"
#include "monitor/ChannelSettingRow.h"
#include "monitor/MeasurementState.h"
#include "monitor/RequestMode.h"
#include "monitor/SendResult.h"
#include "monitor/StoredResultHistory.h"

#include <QByteArray>
#include <QDateTime>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QVector>

#include <array>
#include <atomic>
#include <cstddef>

class QTimer;
struct SnmpSessionSlot;

// The library's own types, declared here so that the many users of this header do not pull
// in the library's macros. They match <net-snmp/types.h>; LevelChecker.cpp checks the oid type.
struct snmp_session;
struct snmp_pdu;
struct variable_list;
typedef struct snmp_session netsnmp_session;
typedef struct snmp_pdu netsnmp_pdu;
typedef struct variable_list netsnmp_variable_list;

// The record of one registered level checker and its SNMP endpoint.
//
// The record lives in the GUI thread. The device's polling worker reads the registration,
// plan and settings copy only while its loop runs, and the GUI thread changes those only
// after it has seen pollingLoopActive() at 0. The numbers and flags that both threads write
// are atomics. Results, history, alert records and error messages belong to the GUI thread.
//
// Every request is one blocking exchange in the worker's thread: addPduVariable() builds
// the pending PDU, sendRequest() opens a session, sends, waits, emits the reply text and
// closes the session again.
class LevelChecker : public QObject
{
    Q_OBJECT
public:
    static constexpr int ChannelSlotCount = 100;
    static constexpr int NoChannel = 200;
    // Size of the buffers the replies are rendered into: room for a result rendered as hex
    // pairs (three characters a byte), which 256 bytes would cut off.
    static constexpr std::size_t RenderBufferSize = 1024;
    // Sub-identifiers addPduVariable() can hold.
    static constexpr int MaxOidLength = 128;

    LevelChecker(int deviceNo, QString name, const quint32 *ipAddress, int inputType,
                 QString settingFileName, int cycleInterval, QString startTime, QString endTime,
                 int wavelength, QObject *parent = nullptr);
    ~LevelChecker() override;

    // Registration and identity.
    int deviceNo() const;
    void setDeviceNo(const int &deviceNo);
    QString name() const;
    void setName(QString name);
    // "%d.%d.%d.%d" of the four address bytes, byte 0 first (same text as ipAddressText()).
    QString ipAddress() const;
    QString ipAddressText() const;
    // A null pointer is ignored.
    void setIpAddress(const quint32 *ipAddress);
    int port() const;
    void setPort(int port);
    // Null until setCommunity(); the record owns the bytes.
    const char *community() const;
    // A null pointer is ignored.
    void setCommunity(const char *community);
    QString inputTypeText() const;
    void setInputType(const int &inputType);
    QString settingFileName() const;
    void setSettingFileName(QString settingFileName);
    QString startTime() const;
    void setStartTime(QString startTime);
    QString endTime() const;
    void setEndTime(QString endTime);
    QString serialNumber() const;
    void setSerialNumber(QString serialNumber);
    QString firmwareVersion() const;
    void setFirmwareVersion(QString firmwareVersion);
    QString macAddress() const;
    void setMacAddress(QString macAddress);
    bool optionId() const;
    void setOptionId(const bool &optionId);
    int measurementState() const;
    void setMeasurementState(int measurementState);
    bool isMeasurable() const;
    void setMeasurable(const int &measurable);
    int c24FrequencyType() const;
    void setC24FrequencyType(int type);
    int ch8FrequencyType() const;
    void setCh8FrequencyType(int type);
    ApplicationSetting applicationSetting() const;
    void setApplicationSetting(const ApplicationSetting &setting);
    QString cycleIntervalText() const;
    void setCycleInterval(const int &cycleInterval);
    QString wavelengthText() const;
    void setWavelength(const int &wavelength);
    QString terrestrialMerCnText() const;
    void setTerrestrialMerCn(const int &merCn);
    QString catvMerCnText() const;
    void setCatvMerCn(const int &merCn);
    // A registration line the device stands for and is written back as, while its
    // registration (as key tells it) stays as it was registered. GUI thread only.
    void holdRegistrationLine(const QString &line, const QString &key);
    QString heldRegistrationLine() const;
    QString heldRegistrationKey() const;

    // State shared with the polling worker.
    int currentChannelIndex() const;
    void setCurrentChannelIndex(int index);
    int requestMode() const;
    void setRequestMode(int requestMode);
    // The identity readout the device's next identity pass answers: set before the device
    // is started for one. The worker takes it when its pass begins and tags every reply of
    // that pass with it, so that a reply can be told from one of an earlier pass.
    quint64 identityReadout() const;
    void setIdentityReadout(quint64 readout);
    void beginIdentityPass();
    quint64 identityPassReadout() const;
    bool isMonitoring() const;
    void setMonitoring(bool monitoring);
    bool isRebootRequested() const;
    void setRebootRequested(bool requested);
    int measurementActive() const;
    void setMeasurementActive(int active);
    // Written by the worker with release order, read by GUI-thread waits with acquire order,
    // so that a 0 seen here also means the worker's last use of the record is visible.
    int pollingLoopActive() const;
    void setPollingLoopActive(int active);
    int outstandingRequests() const;
    // The request being assembled; null between exchanges.
    const netsnmp_pdu *pendingPdu() const;

    // Channel plan.
    ChannelSettingRow channelSetting(int index) const;
    int channelSettingCount() const;
    void addChannelSetting(const ChannelSettingRow &row);
    void clearChannelSettings();
    // Swaps in a whole new plan at once: a worker that is still measuring sees the old plan
    // or the new one, never a half-filled list.
    void replaceChannelSettings(const QVector<ChannelSettingRow> &rows);

    // Alert thresholds.
    AlertSettingRow alertSetting(int index) const;
    int alertSettingCount() const;
    void addAlertSetting(const AlertSettingRow &row);
    void clearAlertSettings();

    // Latest result per channel position.
    ChannelResultRow latestResult(int index) const;
    void addLatestResult(const ChannelResultRow &row);
    void clearLatestResults();
    // Position of the first row with this band and channel text, -1 when none.
    int findLatestResult(int bandTabIndex, QString channel) const;
    // Overwrites the first row with the same band and channel text; -1 when none.
    int updateLatestResult(const ChannelResultRow &row);

    // Per channel position 0..99. Getters outside the lists return an empty value; the
    // operations that change a list ignore a position or index outside it.
    ChannelResultRow measurementHistory(int channel, int index) const;
    int measurementHistoryCount(int channel) const;
    void addMeasurementHistory(const ChannelResultRow &row, int channel);
    void removeMeasurementHistory(int channel, int index);
    void clearMeasurementHistory();
    // Drops the channel's results dated before cutoff in one step; returns how many.
    int dropMeasurementHistoryBefore(int channel, const QDateTime &cutoff);

    AlertRecord alertRecord(int channel, int index) const;
    int alertRecordCount(int channel) const;
    void addAlertRecord(const AlertRecord &record, int channel);
    void removeAlertRecord(int channel, int index);
    void clearAlertRecords();
    // Drops the channel's alert records dated before cutoff, each with the error message at
    // its position, in one step; returns how many records.
    int dropAlertRecordsBefore(int channel, const QDateTime &cutoff);

    QString errorMessage(int channel, int index) const;
    int errorMessageCount(int channel) const;
    // The channel's messages back to back, without separator.
    QString joinedErrorMessages(int channel) const;
    void addErrorMessage(QString message, int channel);
    void removeErrorMessage(int channel, int index);
    void clearErrorMessages();

    // After a plan change: the stored results of each of the first positionCount positions
    // move, with that position's alert records and error messages, to every channel setting
    // whose band and channel text equal those of its first stored result. What no channel
    // setting matches is dropped; a channel new to the plan starts empty.
    void moveStoredResultsToChannelSettings(int positionCount);

    // Traces the call and removes the idle timer; later calls only trace.
    void stopTimer();

    // --- SNMP exchange; worker thread only ---

    // Adds one variable to the pending PDU; with newPdu a fresh SET (isSet) or GET PDU
    // replaces it first. type is 's' or 'i' for a SET value.
    void addPduVariable(bool isSet, QString oid, char type, QString value, bool newPdu);
    // Sends the pending PDU to host:port and waits for the reply.
    // Returns a SendResult: a reply was read, not sent, or nothing arrived within 2 s.
    int sendRequest(int deviceIndex, const char *host, const char *community);
    // ".1.3.6..." -> sub-identifiers (the part before the first "." is skipped, text that
    // is no number gives 0). Returns how many were written, at most MaxOidLength.
    static int parseOidText(QString text, unsigned long *out);
    int createSession(SnmpSessionSlot &slot, const char *host, const char *community);
    static int snmpCallback(int operation, netsnmp_session *session, int reqid, netsnmp_pdu *pdu,
                            void *magic);
    // status 0 = an answer, 2 = a timeout.
    int print_result(int status, netsnmp_session *session, netsnmp_pdu *pdu);

    // Renders one variable into buffer (size bytes) and returns the text's length. The
    // text is always terminated; a rendering that does not fit is cut at size - 1.
    static int renderVariable(char *buffer, std::size_t size, const netsnmp_variable_list *variable);

signals:
    // Reply texts (see print_result) with the peer "<address>:<port>", emitted in the
    // worker thread: measurement replies, and replies while in RequestMode::Information.
    void notifyRcvToList(QString peerName, QString response);
    void notifyRcvInfomationToList(QString peerName, QString response);

private:
    bool isChannelSlot(int channel) const;
    void rebuildIpAddressText();
    void emitResponse(const QString &peerName, const QString &response);

    std::atomic<bool> m_monitoring { false };
    std::atomic<bool> m_rebootRequested { false };
    std::atomic<int> m_outstandingRequests { 0 };
    std::atomic<int> m_port { 0 };
    QByteArray m_community;
    int m_deviceNo = 0;
    QString m_name;
    quint32 m_ipAddress = 0;
    QString m_ipAddressText;
    std::atomic<int> m_inputType { 0 };
    QString m_settingFileName;
    int m_measurable = 0;
    QString m_serialNumber;
    QString m_firmwareVersion;
    QString m_macAddress;
    QVector<ChannelResultRow> m_latestResults;
    int m_measurementState = int(MeasurementState::Stopped);
    QTimer *m_timer = nullptr;
    QString m_startTime;
    QString m_endTime;
    bool m_optionId = false;
    // The plan is the one list a measuring worker reads that the settings screens may replace
    // while it runs.
    mutable QMutex m_channelSettingsMutex;
    QVector<ChannelSettingRow> m_channelSettings;
    std::atomic<int> m_currentChannelIndex { NoChannel };
    std::atomic<int> m_c24FrequencyType { 0 };
    std::atomic<int> m_ch8FrequencyType { 0 };
    QVector<AlertSettingRow> m_alertSettings;
    StoredResultHistory m_measurementHistory { ChannelSlotCount };
    std::array<QVector<AlertRecord>, ChannelSlotCount> m_alertRecords;
    std::array<QVector<QString>, ChannelSlotCount> m_errorMessages;
    // The settings screen replaces the copy while the worker reads it.
    mutable QMutex m_applicationSettingMutex;
    ApplicationSetting m_applicationSetting;
    std::atomic<int> m_cycleInterval { 0 };
    std::atomic<int> m_requestMode { int(RequestMode::Measurement) };
    std::atomic<quint64> m_identityReadout { 0 };
    std::atomic<quint64> m_identityPassReadout { 0 };
    std::atomic<int> m_measurementActive { 0 };
    netsnmp_pdu *m_pendingPdu = nullptr;
    std::atomic<int> m_pollingLoopActive { 0 };
    std::atomic<int> m_wavelength { 0 };
    std::atomic<int> m_terrestrialMerCn { 0 };
    std::atomic<int> m_catvMerCn { 0 };
    QString m_heldRegistrationLine;
    QString m_heldRegistrationKey;
};
