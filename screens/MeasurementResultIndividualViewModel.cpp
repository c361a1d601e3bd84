#include "screens/MeasurementResultIndividualViewModel.h"

#include "core/ApplicationModel.h"

MeasurementResultIndividualViewModel::MeasurementResultIndividualViewModel(
    ScreenId screenId, ApplicationModel *applicationModel, QObject *parent)
    : AbstractViewModel(screenId, applicationModel, parent)
{
    setObjectName(QStringLiteral("MeasurementResultIndividualViewModel"));
}

MeasurementResultIndividualViewModel::~MeasurementResultIndividualViewModel() = default;

void MeasurementResultIndividualViewModel::activate()
{
    ApplicationModel *model = app();
    if (!model)
        return;
    logEnter("activate");
    WorkLogEntry entry;
    entry.screenId = screenId;
    writeWorkLog(entry, WorkLogScreenChange);
    setPageProperty("scaling", model->dialogScale());
    logLeave("activate");
}

void MeasurementResultIndividualViewModel::onDataPassChannelData(
    int deviceNo, BandTabIndex band, QString channel, int modelIndex,
    MeasureResultModel *measureResultModel, QString datetime, bool mercnr, bool error)
{
    logEnter("onDataPassChannelData");
    log(QStringLiteral("-------- onDataPassChannelData ---------- signal ----------"));
    log(QStringLiteral("deiceNo --- %1, band --- %2, channel --- %3, modelIndex --- %4, "
                       "datetime --- %5, mercnr --- %6, error --- %7")
            .arg(deviceNo)
            .arg(static_cast<int>(band))
            .arg(channel)
            .arg(modelIndex)
            .arg(datetime)
            .arg(mercnr ? 1 : 0)
            .arg(error ? 1 : 0));
    logLeave("onDataPassChannelData");
    this->deviceNo = deviceNo;
    this->band = band;
    this->channel = channel;
    this->modelIndex = modelIndex;
    this->measureResultModel = measureResultModel;
    this->datetime = datetime;
    this->mercnr = mercnr;
    this->error = error;
}

void MeasurementResultIndividualViewModel::onSetResponseValueEnd(int index, int latestMeasurementResultIndex)
{
    Q_UNUSED(index)
    Q_UNUSED(latestMeasurementResultIndex)
}

void MeasurementResultIndividualViewModel::onChangeDialogScaleNotify(double scale)
{
    logEnter("onChangeDialogScaleNotify");
    setPageProperty("scaling", scale);
}
