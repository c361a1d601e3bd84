#pragma once

#include "screens/AbstractViewModel.h"
#include "storage/PollingSettings.h"

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QVariant>

#include <memory>

class ExternalProgram;

// The system settings screen: the twelve polling intervals and the one-channel monitoring
// mode, shown in whole seconds, written back to "application_setting.ini" and handed to
// every running device without a restart; and the reboot of one device by uploading the
// marker file to its FTP service.
class SystemSettingViewModel : public AbstractViewModel
{
    Q_OBJECT
public:
    // The page's numbered pop-ups.
    enum Popup {
        PopupSaved = 1,
        PopupNotSaved = 2,
        PopupDiscard = 3,
        PopupRebootQuestion = 4,
        PopupChooseDevice = 5,
        PopupRebootFailed = 6
    };

    // The slider object names, in the order of the twelve intervals, then the flag's.
    static const QStringList &intervalSliderNames();
    static const char *const MonitoringSliderName;

    SystemSettingViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent = nullptr);
    ~SystemSettingViewModel() override;

    void resume() override;
    void suspend() override;
    void createConnection(QObject *page, QObject *frame) override;
    void activate() override;
    void deactivate() override;
    void checkChangeDialog() override;

    // Reads the file into the screen's current and saved values (bounds applied).
    void readSystemSettings();

    bool isChanged() const { return !current.sameIntervalsAndMode(saved); }
    // The reboot upload, for tests: its process id while it runs (0 otherwise).
    qint64 rebootProcessId() const;
    bool isRebootRunning() const;

signals:
    void popupOpen(QVariant number);
    void changeHomeDialog();

public slots:
    void onSettingButtonClicked();
    void onComboboxChange(QString name, QString text);
    void onChangeDialogScaleNotify(double scale);
    void onChangeDestroy();
    void onReboot(int index);
    void proc_finished(int exitCode, QProcess::ExitStatus exitStatus);
    void proc_updateOutput();
    void proc_updateError();

private slots:
    void proc_errorOccurred(QProcess::ProcessError error);

private:
    void connectPage(bool connecting);
    void showSettingsOnPage();
    void reportRebootFailure(const QString &reason);

    PollingSettings current;
    PollingSettings saved;
    // The upload runs without a parent: it lives exactly as long as this screen.
    std::unique_ptr<ExternalProgram> rebootProcess;
    int rebootIndex = -1;
    bool rebootPending = false;
    // Pop-up 6 was already shown for the running upload.
    bool rebootFailureShown = false;
    QByteArray rebootErrorText;
};
