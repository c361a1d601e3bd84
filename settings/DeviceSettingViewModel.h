#pragma once

#include "screens/AbstractViewModel.h"
#include "settings/DeviceEditRecord.h"
#include "settings/IdentityReadout.h"
#include "settings/MerCnPair.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <memory>

class ConnectionTest;
class DeviceApply;
class DeviceListTransfer;
class IdentityReadoutEnd;
class DeviceList;
class DeviceSettingModel;
class InformationListModel;
class LevelChecker;
class OperationGate;
class QTimer;
struct DeviceSettingRow;
struct RegistrationRecord;

// The device registration screen: a working copy of the device table (editRecords),
// mirrored row by row into "deviceSettingModel", edited by row and bulk actions of the page;
// the apply brings the device list into line with it and reads the identity of the devices
// it restarted, and the end of that readout writes "DeviceRegistSetting.csv".
//
// Everything runs in the GUI thread. A device's registration, lists and settings are
// changed only after its worker has been stopped and seen out of its loop; a device whose
// worker does not leave is skipped and named to the operator. Devices that keep measuring
// through an apply get their plan swapped whole (LevelChecker::replaceChannelSettings).
//
// The apply and the readout's end are operations of the application's OperationGate: one
// begun while another operation waits for its workers (a readout's end due inside an
// apply, an apply inside a details save, a reply inside the close) runs after it instead.
// An apply supersedes the running readout's bound; the close ends the readout without
// restarting anything. The devices of an applied import are started one by one by a timer.
class DeviceSettingViewModel : public AbstractViewModel
{
    Q_OBJECT
public:
    // The table shows at most this many rows; the screen handles at most this many devices.
    static constexpr int MaxRows = 50;
    static constexpr int DefaultReadoutBoundMs = IdentityReadout::DefaultBoundMs;

    DeviceSettingViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent = nullptr);
    ~DeviceSettingViewModel() override;

    void resume() override;
    void suspend() override;
    void createConnection(QObject *page, QObject *frame) override;
    void activate() override;
    void deactivate() override;
    void checkChangeDialog() override;

    // The apply; false when it was refused (an invalid or a duplicate address), and then
    // nothing has changed.
    bool applySettings(bool readAll);
    void endInformationReadout();

    // Apply helpers, in the order the apply runs them.
    bool hasPendingChannelPlan(int deviceIndex) const;
    void MeasurementChannelSettingFileRead();
    void ResultsLogUpdate();
    void AlertSettingFileRead();
    void updateIpSetFlags();
    void readPollingSettings();
    // Writes the registration file from the devices and refills the identity list. False
    // (logged, shown on the page) when the file could not be written.
    bool DeviceListFileWrite();

    void restoreSavedRecords();

    // State the page and the tests look at.
    QVector<DeviceEditRecord> currentEditRecords() const { return editRecords; }
    QVector<DeviceEditRecord> currentSavedRecords() const { return savedRecords; }
    QVector<MerCnPair> currentMerCnModes() const { return merCnModes; }
    QList<bool> currentInformationPending() const;
    bool isReadoutRunning() const;
    // An apply or a readout's end of this screen runs or waits for its turn, or the devices
    // of an applied import are still being started.
    bool isOperationRunning() const;
    bool hasIpAddressError() const { return ipAddressError; }
    bool isImportPending() const { return importPending; }
    bool isMerCnChanged() const { return merCnChanged; }
    // Device numbers that the last apply or readout end had to leave alone because their
    // worker did not leave its loop.
    QList<int> skippedDevices() const { return skippedDeviceNos; }

    // Replaces the table's rows with records, numbered afresh (at most MaxRows), and marks
    // the import pending: nothing reaches the devices before the apply.
    void setImportedRecords(const QVector<DeviceEditRecord> &records);
    // The device-list file's rows as the table takes them: codes of texts the choice tables
    // lack are -1, a wavelength the file does not name is 1550.
    static QVector<DeviceEditRecord> importedRecords(const QVector<RegistrationRecord> &records);

    // The bound of an identity readout; tests shorten it.
    void setReadoutBoundMs(int ms);
    int readoutBound() const;

    // Texts as the device list takes them (UTF-8); a plan file name only when it is ASCII.
    static QByteArray toCharBuffer(const QString &text);
    static QByteArray toCharBufferAscii(const QString &text);

signals:
    void transWindow(QVariant screen);
    void dataPassDeviceData(int deviceNo, QString name, ScreenId screenId);
    void dataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed);
    void makeMeasurementResultModel();
    void makeOneMeasurementResultModel(int index);
    void measurementResultModelClear();
    void measurementChannelReloading();
    void openPopup(QVariant popupNumber);
    void setResponseValueEnd(bool notification);
    void changeHomeDialog();

public slots:
    void onInformationResponse(uint index, QString response);
    void timeoutthread();
    void onChangeDestroy();
    void onChangeDialogScaleNotify(double scale);
    void onDataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed);

    void onButtonClicked(QString button) override;
    void onRowButtonClicked(QString button, QString buttonvalue, int rowvalue) override;
    void onTimeChangeButtonClicked(QString button, QString starttime, QString endtime, int row) override;

private:
    friend class DeviceApply;
    friend class DeviceListTransfer;
    friend class IdentityReadoutEnd;

    enum class Family { InputType, Cycle, Wavelength };

    DeviceList *devices() const;
    int shownRowCount() const;
    bool validRow(int row) const;
    DeviceSettingRow tableRowOf(const DeviceEditRecord &record) const;
    void appendBlankTableRow();
    void writeDeviceLog(int row, WorkLogKind kind) const;

    // Row edits.
    void rowCheckChange(const QString &value, int row);
    void allCheckChange(const QString &value);
    void inputNameRowChaneg(const QString &value, int row);
    void inputIpaddrRowChange(const QString &value, int row);
    void addEmptyRow(int row);
    void changeFamily(Family family, const QString &value, int row);
    void rowChangeFamily(Family family, const QString &value, int row);
    void allChangeFamily(Family family, const QString &value);
    void checkChangeFamily(Family family, const QString &value);
    void allChangeValidTime(const QString &start, const QString &end);
    void checkChangeValidTime(const QString &start, const QString &end);
    void rowChangeValidTime(const QString &start, const QString &end, int row);
    void setValidTime(int row, const QString &start, const QString &end);
    void openValidTimeRow(int row);
    void openChannelSetting(int row);
    void connectionTest(int row);
    void onConnectionTestFinished(bool success);

    // Apply steps.
    void matchTicksToPage();
    void rebuildTable();
    void startReadoutTimer();
    void beginPacedStarts();
    void stopPacedStarts();
    // A connection-test verdict waits while the apply's progress pop-up cannot be closed.
    bool progressPopupHeld() const;
    void showHeldVerdict();
    OperationGate *operationGate() const;
    void reloadPlansAndThresholds();
    // Identity replies: each keeps the readout its pass answers (0: taken as the current one).
    void takeIdentityReply(quint64 answers, uint index, const QString &response);
    void storeIdentityReply(LevelChecker *device, int position, const QString &response);
    void noteSkipped(int deviceIndex, const char *step);
    QString finishedText(const QString &text) const;

    bool importPending = false;
    QStringList hourTexts;
    QStringList minuteTexts;
    bool ipAddressError = false;
    std::array<bool, MaxRows> applyStopFlags {};
    QVector<DeviceEditRecord> editRecords;
    QVector<DeviceEditRecord> savedRecords;
    QVector<MerCnPair> merCnModes;
    bool merCnChanged = false;
    DeviceSettingModel *deviceSettingModel = nullptr;
    InformationListModel *informationListModel = nullptr;
    IdentityReadout *readout = nullptr;
    std::unique_ptr<DeviceApply> apply;
    std::unique_ptr<IdentityReadoutEnd> readoutEnd;
    std::unique_ptr<DeviceListTransfer> transfer;
    ConnectionTest *connectionTester = nullptr;
    // The readout of the reply being handled, 0 for a reply without one.
    quint64 replyReadout = 0;
    int queuedApplies = 0;
    bool operationActive = false;
    // The pop-up of a connection test that ended while the progress pop-up was up.
    int heldVerdict = 0;

    // Devices whose worker did not leave its loop; their lists and settings stay untouched.
    QList<int> skippedDeviceNos;
    QList<int> skippedDeviceIndexes;
    // Devices whose pending plan and thresholds the last apply could not put into service.
    QList<int> failedPairDeviceNos;
    // The devices of the last readout whose identity it could not read: "機器No.2(名前)".
    QStringList unreadDevices;
    // Numbers of the devices an apply removed, whose files go once the registration is written.
    QList<int> retiredDeviceNos;
};
