#include "settings/ChannelSettingViewModel.h"

#include "core/ApplicationModel.h"

ChannelSettingViewModel::ChannelSettingViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent)
    : AbstractViewModel(screenId, applicationModel, parent)
{
    setObjectName(QStringLiteral("ChannelSettingViewModel"));
}

ChannelSettingViewModel::~ChannelSettingViewModel() = default;

void ChannelSettingViewModel::activate()
{
    ApplicationModel *model = app();
    if (!model)
        return;
    logEnter("activate");
    writeScreenChangeLog();
    setPageProperty("scaling", model->dialogScale());
}

void ChannelSettingViewModel::checkChangeDialog()
{
    logEnter("checkChangeDialog");
    emit changeHomeDialog();
    logLeave("checkChangeDialog");
}

void ChannelSettingViewModel::onChangeDialogScaleNotify(double scale)
{
    logEnter("onChangeDialogScaleNotify");
    setPageProperty("scaling", scale);
}

void ChannelSettingViewModel::onDataPassDeviceData(int deviceNo, QString name, ScreenId screenId)
{
    this->deviceNo = deviceNo;
    deviceName = name;
    origin = screenId;
}

void ChannelSettingViewModel::onDataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed)
{
    merCnDevice = deviceNo;
    merCnOfdm = ofdm;
    merCnCatv = catv;
    merCnChangedFlag = changed;
}
