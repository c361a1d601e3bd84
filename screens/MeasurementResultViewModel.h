#pragma once

#include "core/MeasureResultModel.h"
#include "core/ScreenUpdateValue.h"
#include "screens/AbstractViewModel.h"

#include <QPointer>
#include <QVariant>

// The result list screen. So far it carries what the frame wires: its signals towards the
// response handler, the history screen and the channel setting screen, the screen updates
// of the response handler, the zoom and the work-history line of its activation.
class MeasurementResultViewModel : public AbstractViewModel
{
    Q_OBJECT
public:
    MeasurementResultViewModel(ScreenId screenId, ApplicationModel *applicationModel,
                               QObject *parent = nullptr);
    ~MeasurementResultViewModel() override;

    void activate() override;

    MeasureResultModel *measureResultModel() const { return resultModel; }

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
    void onScreenUpdate(QString name, ScreenUpdateValue value);
    void onChangeDialogScaleNotify(double scale);

private:
    QPointer<MeasureResultModel> resultModel;
};
