#pragma once

#include "core/MeasureResultModel.h"
#include "core/ScreenUpdateValue.h"
#include "screens/AbstractViewModel.h"

#include <QDateTime>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QVariant>

class DeviceList;
class LevelChecker;
class PendingMeasurementStarts;
class QTimer;

// The result list screen: the rows of the shared result list model, which the response
// handler builds and changes on this screen's requests; starting and stopping devices;
// error reset; the operator's CSV saves; and the nightly purge of old logs and results.
class MeasurementResultViewModel : public AbstractViewModel
{
    Q_OBJECT
public:
    // Default bound of the wait for a worker that is still finishing a stop before a start:
    // the device list's own bound for a worker to leave its loop.
    static constexpr int StartWaitMs = 30000;

    MeasurementResultViewModel(ScreenId screenId, ApplicationModel *applicationModel,
                               QObject *parent = nullptr);
    ~MeasurementResultViewModel() override;

    void resume() override;
    void suspend() override;
    void createConnection(QObject *page, QObject *frame) override;
    void activate() override;
    void deactivate() override;
    void onButtonClicked(QString button) override;
    void onListButtonClicked(QString button, int index, int clicked) override;

    MeasureResultModel *measureResultModel() const { return resultModel; }
    int currentStatusRow() const { return statusRow; }
    // The timer of the nightly purge.
    const QTimer *purgeTimer() const { return dailyPurgeTimer; }
    const PendingMeasurementStarts *pendingStarts() const { return heldStarts; }
    void setStartWaitMs(int ms) { startWaitMs = ms; }

    // Row operations.
    void selectRow(int index, int clicked);
    void openStatusErrors(int index);
    void selectStatusRow(int row);
    void resetSelectedErrors();
    void toggleDeviceMeasurement(int row);
    void openChannelSetting(int row);
    void openChannelHistory(int row);
    void updateMeasurementSaveText();

    // Daily purge.
    void startDailyPurgeTimer();
    void purgeOldLogFiles();
    void pruneOldResults();
    QDateTime logRetentionCutoff(const QDateTime &from, int months);

signals:
    void transWindow(QVariant screen);
    void messagePopupOpen(QVariant message);
    void dataPassChannelData(int deviceNo, BandTabIndex band, QString channel, int channelIndex,
                             MeasureResultModel *measureResultModel, QString datetime, bool mercnr,
                             bool error = false);
    void dataPassDeviceData(int deviceNo, QString name, ScreenId screenId);
    void setResponseValueEnd(int index, int latestMeasurementResultIndex);
    void logSaveDialogOpen();
    void measurementStartSet(int row, int available);
    void checkBoxClicked(int index);
    void checkBoxChange(int row, bool flg, int check);
    void allCheckBoxClicked(int clicked);
    void displayChange(int row);
    void listCountUpdate();
    void statusPopupCheckBoxChange(int row, bool flg, int check);
    void statusPopupCheckBoxClicked(int index);
    void statusPopupAllCheckBoxClicked(int clicked);
    void statusPopupClose();
    void statusPopupSelectChannelInfo(QString no, QString band, QString channel);
    void deviceNoSort(int order);
    void statusSort(int order);
    void focusChange(int index, int clear, bool popup);
    void deviceStatusColorUpdate(int index);
    void statusTextColorChange();
    void statusErrorReset(int row);

public slots:
    void onLogSaveButtonClickedCheck();
    void onSelectChannelLogSaveButtonClicked(QString fileName);
    void onErrorLogSaveButtonClickedCheck();
    void onSelectErrorLogSaveButtonClicked(QString fileName);
    void onComboboxChange(QString name, QString text);
    void onScreenUpdate(QString name, ScreenUpdateValue buf);
    void onChangeDialogScaleNotify(double scale);
    void onMeasurementSelectStartStop(bool start, bool all);

private:
    DeviceList *devices() const;
    bool isRow(int row) const;
    MeasureResultRow rowAt(int row) const;
    // The device numbers of the blocks in display order.
    QList<int> displayedDeviceNumbers() const;
    // The top row of the device's block, found by its number among the blocks; -1 when the
    // list holds no block of the device.
    int topRowOfDevice(int deviceNo) const;
    // The plan position of a row of the device's block: row - top - 1, and 0 for the top row
    // and the first channel row; -1 when the row lies outside the block.
    int channelIndexOfRow(int row, int deviceNo) const;
    void emitStartSet(int deviceNo, int started);
    void onStartsFailed(QList<int> deviceNumbers);
    void onNightlyPurge();
    void saveFile(bool channelResults, const QString &fileName);
    void connectPage(bool connecting);

    QPointer<MeasureResultModel> resultModel;
    QTimer *dailyPurgeTimer;
    QMetaObject::Connection purgeConnection;
    int statusRow = 0;
    int startWaitMs = StartWaitMs;
    PendingMeasurementStarts *heldStarts = nullptr;
};
