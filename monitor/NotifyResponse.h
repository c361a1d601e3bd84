#pragma once

#include "core/MeasureResultModel.h"
#include "core/MeasureResultRow.h"
#include "core/ScreenUpdateValue.h"
#include "core/SharedTypes.h"
#include "core/StatusErrorResultRow.h"
#include "monitor/AlertRecord.h"
#include "monitor/ParallelTask.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QVector>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class ApplicationModel;
class DailyLogFiles;
class LevelChecker;
class SystemLog;

// Turns the devices' measurement replies into stored results, result-list rows, threshold
// verdicts and daily log lines, and keeps the result list in step with the device list.
// Lives in the GUI thread and is never attached to a worker thread: replies reach it only
// through a queued connection from the device list, one at a time.
class NotifyResponse : public ParallelTask
{
    Q_OBJECT

public:
    NotifyResponse(ApplicationModel *model, SystemLog *log, QObject *parent = nullptr);
    ~NotifyResponse() override;

    // Result list building (the groups of every device, in device-list order).
    void makeMeasurementResultModel();
    void removeRowsOfRemovedDevices(const QList<int> &deviceNumbers);
    void markUpdatedRow(int deviceIndex, int channelIndex);
    void buildStatusErrorText(int deviceIndex, int channelIndex, const AlertRecord &record);

    // Reply side: the position of the stored row in the device's plan, or -1.
    int parseMeasurementResponse(const QString &response, int deviceIndex);
    void writeResultLog(int deviceIndex, int channelIndex);
    void writeIndividualLog(int deviceIndex, int channelIndex);
    void judgeThresholds(int deviceIndex, int channelIndex);
    void writeErrorLog(int deviceIndex, int channelIndex);

    // The status-error message of one judged record, as the status popup shows it.
    static QString statusErrorMessage(const AlertRecord &record);

    // Never attached to a thread, so never called.
    void work() override;

    // The clock that dates the daily logs and the failure rows; the system's by default.
    void setClock(std::function<QDateTime()> clock);

signals:
    void transWindow(QVariant screen);
    void messagePopupOpen(QVariant message);
    void dataPassChannelData(int deviceNo, BandTabIndex band, QString channel, int channelIndex,
                             MeasureResultModel *measureResultModel);
    void dataPassDeviceData(int deviceNo, QString name, ScreenId screenId);
    void setResponseValueEnd(int index, int latestMeasurementResultIndex);
    void logSaveDialogOpen();
    void screenUpdate(QString name, ScreenUpdateValue value);
    void appendErrState(StatusErrorResultRow statusResult);
    void insertErrState(StatusErrorResultRow statusResult, int row);
    void dataPassMerCnr(int deviceNo, QString ofdm, QString catv);

public slots:
    void onNotifyResponse(uint index, QString response);
    void onSetResponseValueEnd(int index, int latestMeasurementResultIndex);
    void onMakeMeasurementResultModel();
    void onMakeOneMeasurementResultModel(int index);
    void onMeasurementResultModelClear();
    void onMeasurementChannelReloading();
    void onMeasurementStartSet(int row, int available);
    void onCheckBoxChange(int row, bool flg, int check);
    void onCheckBoxClicked(int index);
    void onAllCheckBoxClicked(int clicked);
    void onDisplayChange(int row);
    void onListCountUpdate();
    void onStatusPopupCheckBoxChange(int row, bool flg, int check);
    void onStatusPopupCheckBoxClicked(int index);
    void onStatusPopupAllCheckBoxClicked(int clicked);
    void onStatusPopupSelectChannelInfo(QString no, QString band, QString channel);
    void onDeviceNoSort(int order);
    void onStatusSort(int order);
    void onFocusChange(int index, int clear, bool popup);
    void onDeviceStatusColorUpdate(int index);
    void onStatusTextColorChange();
    void onStatusErrorReset(int row);

private:
    // The device at index, or null when the list holds none there (any more).
    LevelChecker *deviceAt(int index) const;
    int deviceCount() const;
    void logLine(const QString &message);
    void emitScreenUpdate(const QString &name, int number, bool flag);

    // Row texts and reads by role.
    int rowNo(int position) const;
    bool rowFlag(int position, int role) const;
    int rowInt(int position, int role) const;
    QString rowText(int position, int role) const;
    void setRowValue(int position, int role, const QVariant &value);

    // The device's top row, or -1 when the list holds no group of the device.
    int findTopRow(int deviceIndex) const;
    // One past the last row of the group whose top row is top.
    int groupEnd(int top) const;
    // The row of plan position p in the group at top, or -1 when the group has no such row.
    int channelRow(int top, int deviceNumber, int p) const;
    bool allChecked() const;

    void appendDeviceGroup(int deviceIndex);
    MeasureResultRow channelRowFor(LevelChecker *device, int k) const;
    MeasureResultRow placeholderRow(LevelChecker *device, bool top) const;
    void reloadDeviceGroup(int deviceIndex);
    void rebuildDeviceTopRows();
    // Writes the groups of the given top rows, in that order, back into the list; groups
    // not named follow in their previous order, so no row is ever lost or duplicated.
    void writeGroupsInOrder(const QList<int> &topRows);

    QDateTime now() const;
    // While a reply is handled: its moment, for every log line it makes (so that they all
    // go to the same day's files), and the root the paths are made below. Otherwise now().
    QDateTime resultTime() const;
    // The daily log paths of a device, made once per device, day, result folder and root.
    struct LogPaths
    {
        QDate day;
        QString dataFolder;
        QByteArray root;
        QString result;
        QString error;
        QString history;
    };
    const LogPaths &logPaths(int deviceIndex, const QString &dataFolder, const QDate &day);

    // Neither is owned; both may go away at the end of the program while this object stays.
    QPointer<ApplicationModel> applicationModel;
    QPointer<MeasureResultModel> resultModel;
    // The daily result, error and history logs, open between results.
    std::unique_ptr<DailyLogFiles> logFiles;
    QVector<LogPaths> m_logPaths;
    QDateTime m_resultTime;
    QByteArray m_resultRoot;
    std::function<QDateTime()> m_clock;
};
