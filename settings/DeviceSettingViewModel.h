#pragma once

#include "screens/AbstractViewModel.h"

#include <QString>

// The device registration screen. So far it carries what the frame wires: the hand-over
// signals towards the channel setting screen and the response handler, the zoom, the way
// home and the work-history line of its activation.
class DeviceSettingViewModel : public AbstractViewModel
{
    Q_OBJECT
public:
    DeviceSettingViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent = nullptr);
    ~DeviceSettingViewModel() override;

    void activate() override;
    // Nothing is edited on this screen yet, so leaving it never needs a question.
    void checkChangeDialog() override;

    int merCnDeviceNo() const { return merCnDevice; }
    QString terrestrialMerCn() const { return merCnOfdm; }
    QString catvMerCn() const { return merCnCatv; }
    bool merCnChanged() const { return merCnChangedFlag; }

signals:
    void changeHomeDialog();
    void dataPassDeviceData(int deviceNo, QString name, ScreenId screenId);
    void dataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed);
    void makeMeasurementResultModel();
    void makeOneMeasurementResultModel(int index);
    void measurementResultModelClear();
    void measurementChannelReloading();

public slots:
    void onChangeDialogScaleNotify(double scale);
    void onDataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed);

private:
    // MER/CN modes of the device being edited, handed along the setting screens.
    int merCnDevice = 0;
    QString merCnOfdm;
    QString merCnCatv;
    bool merCnChangedFlag = false;
};
