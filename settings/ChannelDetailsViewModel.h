#pragma once

#include "screens/AbstractViewModel.h"
#include "settings/ChannelDetailsEditRow.h"
#include "settings/ChannelDetailsEntry.h"

#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QVariant>

class ChannelDetailsModel;
class LevelChecker;

// The channel details screen: per measured channel of the device's working plan its
// broadcast standard, local oscillator, power feed and alert thresholds, edited per row and
// in bulk, validated on "完了" and saved as the device's pending plan and thresholds; opened
// from the result list the pair is put into service at once and the device restarted.
class ChannelDetailsViewModel : public AbstractViewModel
{
    Q_OBJECT
public:
    // Pop-up numbers of the page. 17 and above report faults the operator must know about.
    enum Popup {
        PopupLevelMin = 1,
        PopupLevelMax = 2,
        PopupCatvOrOpticalMer = 3,
        PopupMerCn = 4,
        PopupBer = 5,
        PopupApplying = 6,
        PopupDiscard = 7,
        PopupSatelliteCn = 8,
        PopupLevelOrder = 9,
        PopupOpticalMinForm = 10,
        PopupOpticalMinRange = 11,
        PopupOpticalMaxForm = 12,
        PopupOpticalMaxRange = 13,
        PopupTerrestrialConvertedCn = 14,
        PopupCatvConvertedCn = 15,
        PopupOpticalOrder = 16,
        PopupNoWorkingCopy = 17,
        PopupSaveFailed = 18,
        PopupDeviceNotStopped = 19
    };

    ChannelDetailsViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent = nullptr);
    ~ChannelDetailsViewModel() override;

    void resume() override;
    void suspend() override;
    void createConnection(QObject *page, QObject *frame) override;
    void activate() override;
    void deactivate() override;
    void checkChangeDialog() override;

    // Local-oscillator kHz text <-> GHz text, and power feed <-> its text.
    static const QMap<QString, QString> &localFrequencyTable();
    static const QMap<bool, QString> &powerSupplyTable();
    // The thresholds a measured channel of the band starts with; empty texts outside 0-18.
    static ChannelDetailsEntry defaultThresholds(int band);

    // The text the alert file stores for a level or MER/CN value.
    static QString formatThresholdText(float value);
    // The "00.0" form of an optical threshold.
    static bool isOneDecimalText(const QString &text);
    static bool hasOnlyLeadingMinus(const QString &text);
    // The BER test of the save: true when ber passes; ber may be rewritten to its normal form
    // ("---", "0.0E-0").
    static bool checkBer(QString *ber);
    // The form the alert file stores a BER in: "1.E-5" becomes "1.0E-5".
    static QString normalBerText(const QString &ber);
    // The first failing check of one row as its pop-up number, 0 when the row passes. The
    // row's MER/CN and BER may be rewritten to their normal forms.
    static int validateRow(ChannelDetailsEditRow *row, const QString &ofdmMerCnr, const QString &catvMerCnr);

    // Edits (the page's detailChange lands in onDetailChange).
    void changeBroadbandSystem(const QString &bandName, const QString &standard, int row);
    void changeLocalFrequency(const QString &bandName, const QString &ghzText, int row);
    void changePowerSupply(const QString &bandName, const QString &text, int row);
    void changeCatvBroadbandSystem(const QString &standard, bool selectedOnly);
    void applyAlertSettings(const QString &levelMin, const QString &levelMax, const QString &mer,
                            const QString &ber, bool selectedOnly, const QString &hikariMin,
                            const QString &hikariMax, const QString &cn);
    void setCnText(const QString &text, int row);
    void setLevelMin(const QString &text, int row);
    void setLevelMax(const QString &text, int row);
    void setMerCn(const QString &text, int row);
    void setBer(const QString &text, int row);
    void setHikariLevelMin(const QString &text, int row);
    void setHikariLevelMax(const QString &text, int row);
    void setConvertCnr(const QString &text, int row);
    void setRowChecked(const QString &value, int row);
    void setAllChecked(const QString &value);

    // Saving.
    void applySettings();
    // Writes the pending thresholds from the edit rows, then the pending plan from the
    // working plan. False when either could not be written; the pending files are then as
    // they were before.
    bool saveSettingFiles();
    // Load the device's committed plan and thresholds; a file that cannot be read leaves
    // the device's list as it was (false).
    bool MeasurementChannelSettingFileRead();
    bool AlertSettingFileRead();
    void updateMeasurable();
    void ResultsLogUpdate();

    // State, for the page tests.
    const QList<ChannelDetailsEntry> &committedRows() const { return committedPlan; }
    const QList<ChannelDetailsEntry> &workingRows() const { return workingPlan; }
    const QList<ChannelDetailsEntry> &measuredRows() const { return measuringRows; }
    const QList<ChannelDetailsEditRow> &shownRows() const { return editRows; }
    int selectedDeviceNo() const { return deviceNo; }
    QString selectedDeviceName() const { return deviceName; }
    ScreenId originScreen() const { return origin; }
    QString terrestrialMerCn() const { return ofdmMerCnr; }
    QString catvMerCn() const { return catvMerCnr; }
    bool merCnChanged() const { return merCnrChanged; }
    bool isReturnRequested() const { return returnRequested; }

signals:
    void transWindow(QVariant screen);
    void measurementResultModelClear();
    void measurementChannelReloading();
    void openPopup(QVariant popupNumber);
    void changeHomeDialog();
    void dataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed);

public slots:
    void onDataPassScreenData(int deviceNo, QString name, ScreenId screenId);
    void onChangeDestroy();
    void onNotChangeDestroy();
    void onChangeDialogScaleNotify(double scale);
    void onDetailChange(QString bandname, QString chname, QString buttonName, QString text, QString alert,
                        int rowIndex, QString alertHikariMin, QString alertHikariMax, QString convertCnr);
    void onSaveSignal(bool save);
    void onDataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed);

private:
    void connectPage(bool connecting);
    void readChannelFiles();
    void readAlertFile(QList<ChannelDetailsEntry> *alertRows, bool *alertFileExists);
    void mergeThresholds(const QList<ChannelDetailsEntry> &alertRows);
    ChannelDetailsEditRow makeEditRow(int position, const ChannelDetailsEntry &entry, bool alertFileExists) const;
    // One row field and its model role together.
    void setRowText(int row, int role, const QString &text, bool logIt = true);
    bool isRow(int row) const { return row >= 0 && row < editRows.size(); }
    void mergeEditsIntoPlan();
    // Result-list path: promote, stop, wait, reload, restart.
    void putIntoService();
    void putIntoServiceNow();
    bool thresholdsChanged() const;
    bool planChanged() const;
    void removeWorkingFiles();
    void pauseForPopup(int milliseconds);
    LevelChecker *device() const;

    QList<ChannelDetailsEntry> committedPlan;
    QList<ChannelDetailsEntry> workingPlan;
    QList<ChannelDetailsEntry> measuringRows;
    QPointer<ChannelDetailsModel> detailsModel;
    QList<ChannelDetailsEditRow> editRows;
    QList<ChannelDetailsEditRow> initialRows;
    int deviceNo = 0;
    QString deviceName;
    ScreenId origin = ScreenNone;
    bool returnRequested = false;
    int c24FrequencyType = 0;
    int ch8FrequencyType = 0;
    QString ofdmMerCnr;
    QString catvMerCnr;
    bool merCnrChanged = false;
    // The working copy could not be read at activation: saving would erase the plan.
    bool workingCopyMissing = false;
    bool applying = false;
};
