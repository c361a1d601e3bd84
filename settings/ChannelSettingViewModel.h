#pragma once

#include "screens/AbstractViewModel.h"
#include "storage/ChannelSettingEntry.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// The channel plan screen of one device: the device's plan (working copy, pending, committed
// or template) ticked band by band within the channel limit, the CATV frequency plans, the
// frequencies of the free bands, the MER/CN modes, a copy of another device's plan, and the
// hand-over to the channel details screen by "次へ" through the working copy.
class ChannelSettingViewModel : public AbstractViewModel
{
    Q_OBJECT
public:
    // The numbered pop-ups of the page.
    enum Popup {
        PopupDuplicate = 1,
        PopupStep005 = 2,
        PopupStep025 = 3,
        PopupLimit = 4,
        PopupOutOfRange = 5,
        PopupDiscard = 9,
        // The working copy could not be written: the details screen is not opened.
        PopupWriteFailed = 10,
        // No plan rows at all: nothing to hand to the details screen.
        PopupEmptyPlan = 11,
    };

    ChannelSettingViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent = nullptr);
    ~ChannelSettingViewModel() override;

    void resume() override;
    void suspend() override;
    void createConnection(QObject *page, QObject *frame) override;
    void activate() override;
    void deactivate() override;
    void checkChangeDialog() override;

    virtual void updateAllCheckStates(int band);
    virtual void checkDuplicateChannel(int band);
    virtual void clearLists();
    virtual void previewList(int band);

    // Writes the working copy "N_sub.csv"; false when it could not be written.
    bool saveChannelSubFile();
    void makeChannelFileList();
    // True when leaving would lose edits (see the rules in the source).
    bool changesPending() const;

    int selectedDeviceNo() const { return deviceNo; }
    QString selectedDeviceName() const { return deviceName; }
    ScreenId originScreen() const { return origin; }
    QVector<ChannelSettingEntry> workingRows() const { return workingPlan; }
    QVector<ChannelSettingEntry> loadedRows() const { return loadedPlan; }
    QVector<ChannelSettingEntry> committedRows() const { return committedPlan; }
    QStringList fileNames() const { return planFileNames; }
    QStringList summaryChannels() const { return selectedChannels; }
    bool lastCheckOk() const { return validationOk; }
    QString terrestrialMerCn() const { return ofdmMerCnr; }
    QString catvMerCn() const { return catvMerCnr; }
    bool merCnChanged() const { return merCnrChanged; }
    // The device number of the last MER/CN hand-over (the modes apply to deviceNo regardless).
    int merCnDeviceNo() const { return merCnDevice; }

signals:
    void openPopup(QVariant popupNumber);
    void dataPassScreenData(int deviceNo, QString name, ScreenId screenId);
    void transWindow(QVariant screen);
    void changeHomeDialog();
    void dataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed);

public slots:
    void onDataPassDeviceData(int deviceNo, QString name, ScreenId screenId);
    void onDataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed);
    void onChangeDestroy();
    void onNotChangeDestroy();
    void onChangeDialogScaleNotify(double scale);
    void onReturnSignal();
    void onBandChanged(int button);
    void onAllChecked(int bandInfo, bool allCheck);
    void onChannelSignal(int bandInfo, QString checkbutton, bool checkInfo);
    void onBroadbandChange(int bandInfo, int localfreqFlag);
    void onCatvSetting2(bool setting2);
    void onCatvSetting4(bool setting4);
    void onConvertMerCnr(int band, QString textmessage);
    void onResetSignal(bool resetFlag);
    void onFrequencyChange(int bandInfo, QString ch, QString freq);
    void onSaveSignal(bool saveFlag);
    void onChannelFileSelect(int bandInfo, QString currentText);

private:
    // Names, check flags and display frequencies of one column of the page.
    struct Column {
        QStringList names;
        QVariantList checks;
        QStringList frequencies;
        void clear()
        {
            names.clear();
            checks.clear();
            frequencies.clear();
        }
    };

    void connectPage(bool connecting);
    // Reads a plan file with the screen's reading rules; logs " read ERROR" when it cannot.
    bool readPlan(const QString &path, QVector<ChannelSettingEntry> *rows);
    int checkedCount() const;
    // Rebuilds selectedBands / selectedChannels from the plan, cut at the channel limit.
    // The checks of one band's rows, in plan order.
    void readBandChecks(int band);
    void buildSummary();
    void setMerCnRadio(const QString &mode);
    // Removes the working copy, and with pendingToo the pending plan and pending thresholds.
    void removeEditingFiles(bool pendingToo);
    // A pending plan or pending thresholds from an earlier save of the details screen.
    bool pendingPairExists() const;
    // True when leaving now would delete the pending pair: home, or back to the result list.
    bool leaveRemovesPending() const;
    // Leaves as the discard rules say: by return to the origin screen, else home.
    void leave();
    int maxChannels() const;
    QString displayFrequency(const ChannelSettingEntry &entry) const;
    void writeSummary();

    QVector<ChannelSettingEntry> workingPlan;
    QVector<ChannelSettingEntry> loadedPlan;
    QVector<ChannelSettingEntry> committedPlan;
    // The four columns of the BS/CS, JCSAT and SCC groups, and the LTE, FM and CATV上り columns.
    Column quadColumns[4];
    Column lteColumn;
    Column fmColumn;
    Column upstreamColumn;
    bool allChecked = false;
    bool validationOk = false;
    bool returnRequested = false;
    bool saving = false;
    int deviceNo = 0;
    QString deviceName;
    ScreenId origin = ScreenNone;
    QVariantList selectedBands;
    QStringList selectedChannels;
    QVariantList bandChecks;
    QStringList planFileNames;
    QStringList planFileLabels;
    QString ofdmMerCnr;
    QString catvMerCnr;
    QString ofdmMerCnrEdit;
    QString catvMerCnrEdit;
    bool merCnrChanged = false;
    int merCnDevice = 0;
};
