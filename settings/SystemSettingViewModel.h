#pragma once

#include "screens/AbstractViewModel.h"

#include <QString>

// The system settings screen. So far it carries what the frame wires: the zoom, the way home
// and the work-history line of its activation.
class SystemSettingViewModel : public AbstractViewModel
{
    Q_OBJECT
public:
    SystemSettingViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent = nullptr);
    ~SystemSettingViewModel() override;

    void activate() override;
    // Nothing is edited on this screen yet, so leaving it never needs a question.
    void checkChangeDialog() override;

signals:
    void changeHomeDialog();

public slots:
    void onChangeDialogScaleNotify(double scale);
};
