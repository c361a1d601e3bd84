#include "settings/DeviceSettingViewModel.h"

#include "core/ApplicationModel.h"

DeviceSettingViewModel::DeviceSettingViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent)
    : AbstractViewModel(screenId, applicationModel, parent)
{
    setObjectName(QStringLiteral("DeviceSettingViewModel"));
}

DeviceSettingViewModel::~DeviceSettingViewModel() = default;

void DeviceSettingViewModel::activate()
{
    ApplicationModel *model = app();
    if (!model)
        return;
    logEnter("activate");
    writeScreenChangeLog();
    setPageProperty("scaling", model->dialogScale());
}

void DeviceSettingViewModel::checkChangeDialog()
{
    logEnter("checkChangeDialog");
    emit changeHomeDialog();
    logLeave("checkChangeDialog");
}

void DeviceSettingViewModel::onChangeDialogScaleNotify(double scale)
{
    logEnter("onChangeDialogScaleNotify");
    setPageProperty("scaling", scale);
}

void DeviceSettingViewModel::onDataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed)
{
    merCnDevice = deviceNo;
    merCnOfdm = ofdm;
    merCnCatv = catv;
    merCnChangedFlag = changed;
}
