#include "settings/SystemSettingViewModel.h"

#include "core/ApplicationModel.h"

SystemSettingViewModel::SystemSettingViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent)
    : AbstractViewModel(screenId, applicationModel, parent)
{
    setObjectName(QStringLiteral("SystemSettingViewModel"));
}

SystemSettingViewModel::~SystemSettingViewModel() = default;

void SystemSettingViewModel::activate()
{
    ApplicationModel *model = app();
    if (!model)
        return;
    logEnter("activate");
    writeScreenChangeLog();
    setPageProperty("scaling", model->dialogScale());
}

void SystemSettingViewModel::checkChangeDialog()
{
    logEnter("checkChangeDialog");
    emit changeHomeDialog();
    logLeave("checkChangeDialog");
}

void SystemSettingViewModel::onChangeDialogScaleNotify(double scale)
{
    logEnter("onChangeDialogScaleNotify");
    setPageProperty("scaling", scale);
}
