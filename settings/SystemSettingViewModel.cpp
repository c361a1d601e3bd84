#include "settings/SystemSettingViewModel.h"

#include "core/ApplicationSetting.h"
#include "monitor/ApplicationModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "platform/ExternalProgram.h"
#include "platform/PlatformSleep.h"
#include "settings/RebootUpload.h"

#include <QCoreApplication>

namespace {

const AbstractViewModel::PageConnection kPageConnections[] = {
    {true, SIGNAL(settingButtonClicked()), SLOT(onSettingButtonClicked())},
    {true, SIGNAL(comboboxChange(QString, QString)), SLOT(onComboboxChange(QString, QString))},
    {false, SIGNAL(popupOpen(QVariant)), SLOT(onPopupOpen(QVariant))},
    {true, SIGNAL(changeDestroy()), SLOT(onChangeDestroy())},
    {true, SIGNAL(reboot(int)), SLOT(onReboot(int))},
};

} // namespace

const char *const SystemSettingViewModel::MonitoringSliderName = "chMonitoring";

const QStringList &SystemSettingViewModel::intervalSliderNames()
{
    static const QStringList names { "first", "power", "uhf", "bs", "cs", "catv",
                                     "sky", "jcsat", "scc", "lte", "fm", "pilot" };
    return names;
}

SystemSettingViewModel::SystemSettingViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent)
    : AbstractViewModel(screenId, applicationModel, parent)
    , rebootProcess(new ExternalProgram)
{
    setObjectName(QStringLiteral("SystemSettingViewModel"));
    logEnter("SystemSettingViewModel");
    // The upload outlives the page: its failure is still logged and the request queued
    // behind it still made after the operator has left the screen.
    ExternalProgram *process = rebootProcess.get();
    connect(process, &QProcess::readyReadStandardOutput, this, &SystemSettingViewModel::proc_updateOutput);
    connect(process, &QProcess::readyReadStandardError, this, &SystemSettingViewModel::proc_updateError);
    connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &SystemSettingViewModel::proc_finished);
    connect(process, &QProcess::errorOccurred, this, &SystemSettingViewModel::proc_errorOccurred);
}

SystemSettingViewModel::~SystemSettingViewModel()
{
    // The upload's end must not reach a half-destroyed screen.
    if (rebootProcess)
        rebootProcess->disconnect(this);
}

// --- Screen life cycle ---

void SystemSettingViewModel::resume()
{
    logEnter("resume");
}

void SystemSettingViewModel::suspend()
{
    logEnter("suspend");
    connectPage(false);
}

void SystemSettingViewModel::createConnection(QObject *newPage, QObject *newFrame)
{
    logEnter("createConnection");
    // A page left connected from an earlier visit would deliver every signal twice.
    connectPage(false);
    AbstractViewModel::createConnection(newPage, newFrame);
    connectPage(true);
}

void SystemSettingViewModel::connectPage(bool connecting)
{
    connectPageSignals(kPageConnections, connecting);
}

void SystemSettingViewModel::activate()
{
    ApplicationModel *model = app();
    if (!model)
        return;
    logEnter("activate");
    writeScreenChangeLog();
    setPageProperty("scaling", model->dialogScale());
    readSystemSettings();
    showSettingsOnPage();

    QStringList names;
    DeviceList *list = model->deviceList();
    const int count = list ? list->deviceCount() : 0;
    if (count == 0)
        names.append(QString());
    for (int i = 0; i < count; ++i) {
        const LevelChecker *device = list->device(i);
        names.append(QStringLiteral("機器No.%1\u3000 %2").arg(i + 1).arg(device ? device->name() : QString()));
    }
    setPageProperty("devicename", names);
}

void SystemSettingViewModel::deactivate()
{
    logEnter("deactivate");
    page.clear();
}

void SystemSettingViewModel::checkChangeDialog()
{
    logEnter("checkChangeDialog");
    if (isChanged()) {
        emit popupOpen(PopupDiscard);
        PlatformSleep::sleepMs(200);
        QCoreApplication::processEvents();
        return;
    }
    emit changeHomeDialog();
}

void SystemSettingViewModel::onChangeDestroy()
{
    logEnter("onChangeDestroy");
    emit changeHomeDialog();
}

void SystemSettingViewModel::onChangeDialogScaleNotify(double scale)
{
    logEnter("onChangeDialogScaleNotify");
    setPageProperty("scaling", scale);
}

// --- Polling settings ---

void SystemSettingViewModel::readSystemSettings()
{
    current = PollingSettings::read(ApplicationSetting::filePath());
    saved = current;
}

void SystemSettingViewModel::showSettingsOnPage()
{
    if (!page)
        return;
    const auto intervals = current.intervals();
    const QStringList &sliders = intervalSliderNames();
    for (int i = 0; i < sliders.size(); ++i) {
        if (QObject *slider = page->findChild<QObject *>(sliders.at(i)))
            slider->setProperty("value", *intervals[i] / 1000);
    }
    if (QObject *slider = page->findChild<QObject *>(QLatin1String(MonitoringSliderName)))
        slider->setProperty("value", current.chMonitoring);
}

void SystemSettingViewModel::onComboboxChange(QString name, QString text)
{
    // Text that is no number reads as 0: the next save writes it and every reader bounds it.
    const int value = text.toInt();
    const int slider = intervalSliderNames().indexOf(name);
    if (slider >= 0)
        *current.intervals()[slider] = value * 1000;
    else if (name == QLatin1String(MonitoringSliderName))
        current.chMonitoring = value;
}

void SystemSettingViewModel::onSettingButtonClicked()
{
    logEnter("onSettingButtonClicked");
    ApplicationModel *model = app();
    if (!model) {
        emit popupOpen(PopupNotSaved);
        return;
    }
    const QString path = ApplicationSetting::filePath();
    // A file that could not be written would bring the old values back at the next start
    // while the devices ran with the new ones: nothing is handed on then.
    if (!current.write(path)) {
        log(QStringLiteral("application_setting.ini write ERROR"), LogError);
        emit popupOpen(PopupNotSaved);
        return;
    }
    current.channelCountFlg = PollingSettings::read(path).channelCountFlg;
    current.copyIntoDevices(model->deviceList());
    saved = current;
    emit popupOpen(PopupSaved);
    WorkLogEntry entry;
    entry.screenId = screenId;
    writeWorkLog(entry, WorkLogSystemSettingChanged);
}

// --- Reboot of one device ---

qint64 SystemSettingViewModel::rebootProcessId() const
{
    return rebootProcess->processId();
}

bool SystemSettingViewModel::isRebootRunning() const
{
    return rebootProcess->state() != QProcess::NotRunning;
}

void SystemSettingViewModel::onReboot(int index)
{
    logEnter("onReboot");
    rebootIndex = index;
    rebootPending = false;
    if (rebootProcess->state() != QProcess::NotRunning) {
        // Only the latest request survives: it starts once the running upload has ended.
        rebootPending = true;
        rebootProcess->kill();
        return;
    }
    ApplicationModel *model = app();
    DeviceList *list = model ? model->deviceList() : nullptr;
    const LevelChecker *device = list ? list->device(index) : nullptr;
    if (!device)
        return;
    const QString address = device->ipAddressText();
    const int ftpPort = RebootUpload::ftpPort(address, device->port());
    rebootErrorText.clear();
    rebootFailureShown = false;
    log(QStringLiteral("reboot upload to No.%1 (%2)").arg(index + 1).arg(RebootUpload::targetUrl(address, ftpPort)));
    rebootProcess->startProgram(QLatin1String(RebootUpload::Program),
                                RebootUpload::arguments(RebootUpload::markerPath(), address, ftpPort),
                                RebootUpload::standardInput());
}

void SystemSettingViewModel::proc_finished(int exitCode, QProcess::ExitStatus exitStatus)
{
    logEnter("proc_finished");
    rebootProcess->closeWriteChannel();
    if (rebootPending) {
        // The killed upload is not the operator's last request: no verdict on it.
        onReboot(rebootIndex);
        return;
    }
    rebootErrorText += rebootProcess->readAllStandardError();
    if (exitStatus != QProcess::NormalExit || exitCode != 0) {
        reportRebootFailure(QStringLiteral("exit %1 %2").arg(exitCode).arg(
            QString::fromLocal8Bit(rebootErrorText).trimmed()));
        return;
    }
    log(QStringLiteral("reboot upload to No.%1 done").arg(rebootIndex + 1));
}

void SystemSettingViewModel::proc_updateOutput()
{
    logEnter("proc_updateOutput");
    rebootProcess->readAllStandardOutput();
}

void SystemSettingViewModel::proc_updateError()
{
    logEnter("proc_updateError");
    rebootErrorText += rebootProcess->readAllStandardError();
    if (RebootUpload::isTimeout(rebootErrorText))
        reportRebootFailure(QString::fromLocal8Bit(rebootErrorText).trimmed());
}

void SystemSettingViewModel::proc_errorOccurred(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart)
        return;
    // No end is reported for a program that never ran.
    if (rebootPending) {
        onReboot(rebootIndex);
        return;
    }
    reportRebootFailure(QStringLiteral("%1 could not be started").arg(QLatin1String(RebootUpload::Program)));
}

void SystemSettingViewModel::reportRebootFailure(const QString &reason)
{
    if (rebootFailureShown)
        return;
    rebootFailureShown = true;
    log(QStringLiteral("reboot upload to No.%1 failed: %2").arg(rebootIndex + 1).arg(reason), LogError);
    emit popupOpen(PopupRebootFailed);
}
