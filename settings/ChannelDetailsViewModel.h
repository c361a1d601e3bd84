#pragma once

#include "screens/AbstractViewModel.h"

#include <QString>

// The channel details and alert threshold screen. So far it carries what the frame wires: the
// device handed over by the channel setting screen, the reload request to the response
// handler, the zoom, the way home and the work-history line of its activation.
class ChannelDetailsViewModel : public AbstractViewModel
{
    Q_OBJECT
public:
    ChannelDetailsViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent = nullptr);
    ~ChannelDetailsViewModel() override;

    void activate() override;
    // Nothing is edited on this screen yet, so leaving it never needs a question.
    void checkChangeDialog() override;

    int selectedDeviceNo() const { return deviceNo; }
    QString selectedDeviceName() const { return deviceName; }
    ScreenId originScreen() const { return origin; }

    int merCnDeviceNo() const { return merCnDevice; }
    QString terrestrialMerCn() const { return merCnOfdm; }
    QString catvMerCn() const { return merCnCatv; }
    bool merCnChanged() const { return merCnChangedFlag; }

signals:
    void changeHomeDialog();
    void measurementChannelReloading();
    void dataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed);

public slots:
    void onChangeDialogScaleNotify(double scale);
    void onDataPassScreenData(int deviceNo, QString name, ScreenId screenId);
    void onDataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed);

private:
    // The device to edit and the screen the operator came from, for the next activation.
    int deviceNo = 0;
    QString deviceName;
    ScreenId origin = ScreenNone;
    // MER/CN modes of the device being edited, handed along the setting screens.
    int merCnDevice = 0;
    QString merCnOfdm;
    QString merCnCatv;
    bool merCnChangedFlag = false;
};
