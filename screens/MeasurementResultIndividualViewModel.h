#pragma once

#include "core/MeasureResultModel.h"
#include "screens/AbstractViewModel.h"

#include <QPointer>

// The single-channel history screen. So far it carries what the frame wires: the channel
// handed over by the result list, the reply-end notification, the zoom and the work-history
// line of its activation.
class MeasurementResultIndividualViewModel : public AbstractViewModel
{
    Q_OBJECT
public:
    MeasurementResultIndividualViewModel(ScreenId screenId, ApplicationModel *applicationModel,
                                         QObject *parent = nullptr);
    ~MeasurementResultIndividualViewModel() override;

    void activate() override;

    int selectedDeviceNo() const { return deviceNo; }
    BandTabIndex selectedBand() const { return band; }
    QString selectedChannel() const { return channel; }
    int selectedModelIndex() const { return modelIndex; }

signals:
    void setResponseValueEnd(int index, int latestMeasurementResultIndex);

public slots:
    void onDataPassChannelData(int deviceNo, BandTabIndex band, QString channel, int modelIndex,
                               MeasureResultModel *measureResultModel, QString datetime, bool mercnr,
                               bool error);
    void onSetResponseValueEnd(int index, int latestMeasurementResultIndex);
    void onChangeDialogScaleNotify(double scale);

private:
    int deviceNo = 0;
    BandTabIndex band = BandTerrestrial;
    QString channel;
    int modelIndex = 0;
    QPointer<MeasureResultModel> measureResultModel;
    QString datetime;
    bool mercnr = false;
    bool error = false;
};
