#include "screens/MeasurementResultViewModel.h"

#include "core/ApplicationModel.h"

MeasurementResultViewModel::MeasurementResultViewModel(ScreenId screenId,
                                                       ApplicationModel *applicationModel,
                                                       QObject *parent)
    : AbstractViewModel(screenId, applicationModel, parent)
{
    setObjectName(QStringLiteral("MeasurementResultViewModel"));
    if (ApplicationModel *model = app())
        resultModel = qobject_cast<MeasureResultModel *>(
            model->findQmlObject(QStringLiteral("measureResultModel")));
}

MeasurementResultViewModel::~MeasurementResultViewModel() = default;

void MeasurementResultViewModel::activate()
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

void MeasurementResultViewModel::onScreenUpdate(QString name, ScreenUpdateValue value)
{
    if (!page)
        return;
    if (name == QLatin1String("listCount"))
        setPageProperty("listCount", value.number);
    else if (name == QLatin1String("allCheckBox"))
        setPageProperty("allCheckBox", value.flag);
    else if (name == QLatin1String("popupListCount"))
        setPageProperty("popupListCount", value.number);
    else if (name == QLatin1String("popupAllCheckBox"))
        setPageProperty("popupAllCheckBox", value.flag);
    else if (name == QLatin1String("statusError"))
        setPageProperty("statusError", value.flag);
}

void MeasurementResultViewModel::onChangeDialogScaleNotify(double scale)
{
    logEnter("onChangeDialogScaleNotify");
    setPageProperty("scaling", scale);
}
