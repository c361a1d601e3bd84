#include "settings/ChannelDetailsViewModel.h"

#include "core/ApplicationModel.h"

ChannelDetailsViewModel::ChannelDetailsViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent)
    : AbstractViewModel(screenId, applicationModel, parent)
{
    setObjectName(QStringLiteral("ChannelDetailsViewModel"));
}

ChannelDetailsViewModel::~ChannelDetailsViewModel() = default;

void ChannelDetailsViewModel::activate()
{
    ApplicationModel *model = app();
    if (!model)
        return;
    logEnter("activate");
    writeScreenChangeLog();
    setPageProperty("scaling", model->dialogScale());
}

void ChannelDetailsViewModel::checkChangeDialog()
{
    logEnter("checkChangeDialog");
    emit changeHomeDialog();
    logLeave("checkChangeDialog");
}

void ChannelDetailsViewModel::onChangeDialogScaleNotify(double scale)
{
    logEnter("onChangeDialogScaleNotify");
    setPageProperty("scaling", scale);
}

void ChannelDetailsViewModel::onDataPassScreenData(int deviceNo, QString name, ScreenId screenId)
{
    this->deviceNo = deviceNo;
    deviceName = name;
    origin = screenId;
}

void ChannelDetailsViewModel::onDataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed)
{
    merCnDevice = deviceNo;
    merCnOfdm = ofdm;
    merCnCatv = catv;
    merCnChangedFlag = changed;
}
