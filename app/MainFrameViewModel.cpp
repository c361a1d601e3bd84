#include "app/MainFrameViewModel.h"

#include "core/MeasureResultModel.h"
#include "core/OperationGate.h"
#include "core/ScreenUpdateValue.h"
#include "core/SharedTypes.h"
#include "core/SystemLog.h"
#include "monitor/ApplicationModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "monitor/NotifyResponse.h"
#include "platform/PlatformPaths.h"
#include "screens/Attributes.h"
#include "screens/HomeViewModel.h"
#include "screens/MeasurementResultIndividualViewModel.h"
#include "screens/MeasurementResultViewModel.h"
#include "settings/ChannelDetailsViewModel.h"
#include "settings/ChannelSettingViewModel.h"
#include "settings/DeviceSettingViewModel.h"
#include "settings/SystemSettingViewModel.h"
#include "storage/RegistrationFile.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QUrl>
#include <QVector>
#include <QWindow>

namespace {

const char *const Frame = "MainFrame";
const char *const Response = "NotifyResponse";

const QString ManualPath = QStringLiteral("C:\\VELMORA\\NRT52\\NRT52 WEB MAN_Ver6.0.pdf");

QByteArray signalCode(const char *signature)
{
    return QByteArray("2") + signature;
}

QByteArray slotCode(const char *signature)
{
    return QByteArray("1") + signature;
}

} // namespace

const QList<MainFrameViewModel::CrossConnection> &MainFrameViewModel::crossConnections()
{
    static const QList<CrossConnection> table {
        {Response, "setResponseValueEnd(int, int)", Response, "onSetResponseValueEnd(int, int)"},
        {Response, "setResponseValueEnd(int, int)", "ResultIndividual", "onSetResponseValueEnd(int, int)"},
        {Response, "screenUpdate(QString, ScreenUpdateValue)", "MeasurementResult",
         "onScreenUpdate(QString, ScreenUpdateValue)"},
        {"MeasurementResult",
         "dataPassChannelData(int, BandTabIndex, QString, int, MeasureResultModel*, QString, bool, bool)",
         "ResultIndividual",
         "onDataPassChannelData(int, BandTabIndex, QString, int, MeasureResultModel*, QString, bool, bool)"},
        {"MeasurementResult", "dataPassDeviceData(int, QString, ScreenId)", "ChannelSetting",
         "onDataPassDeviceData(int, QString, ScreenId)"},
        {"ChannelSetting", "dataPassScreenData(int, QString, ScreenId)", "ChannelDetails",
         "onDataPassScreenData(int, QString, ScreenId)"},
        {"DeviceSetting", "dataPassDeviceData(int, QString, ScreenId)", "ChannelSetting",
         "onDataPassDeviceData(int, QString, ScreenId)"},
        {"DeviceSetting", "makeMeasurementResultModel()", Response, "onMakeMeasurementResultModel()"},
        {"DeviceSetting", "makeOneMeasurementResultModel(int)", Response, "onMakeOneMeasurementResultModel(int)"},
        {"DeviceSetting", "measurementResultModelClear()", Response, "onMeasurementResultModelClear()"},
        {"DeviceSetting", "measurementChannelReloading()", Response, "onMeasurementChannelReloading()"},
        {"ChannelDetails", "measurementChannelReloading()", Response, "onMeasurementChannelReloading()"},
        {"DeviceSetting", "changeHomeDialog()", Frame, "onChangeHomeDialog()"},
        {"ChannelSetting", "changeHomeDialog()", Frame, "onChangeHomeDialog()"},
        {"ChannelDetails", "changeHomeDialog()", Frame, "onChangeHomeDialog()"},
        {"SystemSetting", "changeHomeDialog()", Frame, "onChangeHomeDialog()"},
        {"MeasurementResult", "measurementStartSet(int, int)", Response, "onMeasurementStartSet(int, int)"},
        {"MeasurementResult", "checkBoxChange(int, bool, int)", Response, "onCheckBoxChange(int, bool, int)"},
        {"MeasurementResult", "displayChange(int)", Response, "onDisplayChange(int)"},
        {"MeasurementResult", "listCountUpdate()", Response, "onListCountUpdate()"},
        {"MeasurementResult", "statusPopupCheckBoxChange(int, bool, int)", Response,
         "onStatusPopupCheckBoxChange(int, bool, int)"},
        {"MeasurementResult", "deviceNoSort(int)", Response, "onDeviceNoSort(int)"},
        {"MeasurementResult", "statusSort(int)", Response, "onStatusSort(int)"},
        {"MeasurementResult", "deviceStatusColorUpdate(int)", Response, "onDeviceStatusColorUpdate(int)"},
        {"MeasurementResult", "statusTextColorChange()", Response, "onStatusTextColorChange()"},
        {"MeasurementResult", "focusChange(int, int, bool)", Response, "onFocusChange(int, int, bool)"},
        {"MeasurementResult", "checkBoxClicked(int)", Response, "onCheckBoxClicked(int)"},
        {"MeasurementResult", "allCheckBoxClicked(int)", Response, "onAllCheckBoxClicked(int)"},
        {"MeasurementResult", "statusPopupCheckBoxClicked(int)", Response, "onStatusPopupCheckBoxClicked(int)"},
        {"MeasurementResult", "statusPopupAllCheckBoxClicked(int)", Response,
         "onStatusPopupAllCheckBoxClicked(int)"},
        {"MeasurementResult", "statusErrorReset(int)", Response, "onStatusErrorReset(int)"},
        {"MeasurementResult", "statusPopupSelectChannelInfo(QString, QString, QString)", Response,
         "onStatusPopupSelectChannelInfo(QString, QString, QString)"},
        {Frame, "changeDialogScaleNotify(double)", "Home", "onChangeDialogScaleNotify(double)"},
        {Frame, "changeDialogScaleNotify(double)", "MeasurementResult", "onChangeDialogScaleNotify(double)"},
        {Frame, "changeDialogScaleNotify(double)", "DeviceSetting", "onChangeDialogScaleNotify(double)"},
        {Frame, "changeDialogScaleNotify(double)", "ChannelSetting", "onChangeDialogScaleNotify(double)"},
        {Frame, "changeDialogScaleNotify(double)", "ChannelDetails", "onChangeDialogScaleNotify(double)"},
        {Frame, "changeDialogScaleNotify(double)", "ResultIndividual", "onChangeDialogScaleNotify(double)"},
        {Frame, "changeDialogScaleNotify(double)", "SystemSetting", "onChangeDialogScaleNotify(double)"},
        {"Home", "windowCloseNotify(bool)", Frame, "onWindowCloseNotify(bool)"},
        {"DeviceSetting", "dataPassMerCnr(int, QString, QString, bool)", "ChannelSetting",
         "onDataPassMerCnr(int, QString, QString, bool)"},
        {"ChannelSetting", "dataPassMerCnr(int, QString, QString, bool)", "ChannelDetails",
         "onDataPassMerCnr(int, QString, QString, bool)"},
        {"ChannelDetails", "dataPassMerCnr(int, QString, QString, bool)", "ChannelSetting",
         "onDataPassMerCnr(int, QString, QString, bool)"},
        {"ChannelDetails", "dataPassMerCnr(int, QString, QString, bool)", "DeviceSetting",
         "onDataPassMerCnr(int, QString, QString, bool)"},
    };
    return table;
}

namespace {
// Objects meant to live until the process ends, held where leak checkers see them.
void keepUntilExit(QObject *object)
{
    static auto *kept = new QVector<QObject *>;
    kept->append(object);
}
}

MainFrameViewModel::MainFrameViewModel(ApplicationModel *applicationModel, QObject *window, QObject *parent)
    : QObject(parent)
    , window(window)
    , applicationModel(applicationModel)
{
    attributesObject = new Attributes(this);
    systemLog = app() ? SystemLog::instance() : nullptr;
    setObjectName(QStringLiteral("MainFrameViewModel"));

    // The cross connections name these types in their signatures.
    qRegisterMetaType<BandTabIndex>("BandTabIndex");
    qRegisterMetaType<ScreenId>("ScreenId");
    qRegisterMetaType<MeasureResultModel *>("MeasureResultModel*");
    qRegisterMetaType<ScreenUpdateValue>("ScreenUpdateValue");

    // The home view model loads the devices: every later view model finds them.
    viewModels.append(new HomeViewModel(ScreenHome, applicationModel, this));
    viewModels.append(new MeasurementResultViewModel(ScreenMeasurementResult, applicationModel, this));
    viewModels.append(new DeviceSettingViewModel(ScreenDeviceSetting, applicationModel, this));
    viewModels.append(new ChannelSettingViewModel(ScreenChannelSetting, applicationModel, this));
    viewModels.append(new ChannelDetailsViewModel(ScreenChannelDetails, applicationModel, this));
    viewModels.append(new MeasurementResultIndividualViewModel(ScreenResultIndividual, applicationModel, this));
    viewModels.append(new SystemSettingViewModel(ScreenSystemSetting, applicationModel, this));

    screens = {
        {ScreenHome, QStringLiteral("Home"), QStringLiteral("Home"), QStringLiteral("Home.qml")},
        {ScreenMeasurementResult, QStringLiteral("測定結果"), QStringLiteral("MeasurementResult"),
         QStringLiteral("MeasurementResult.qml")},
        {ScreenDeviceSetting, QStringLiteral("機器設定"), QStringLiteral("DeviceSetting"),
         QStringLiteral("DeviceSetting.qml")},
        {ScreenChannelSetting, QStringLiteral("チャンネル設定"), QStringLiteral("ChannelSetting"),
         QStringLiteral("ChannelSetting.qml")},
        {ScreenChannelDetails, QStringLiteral("チャンネル詳細"), QStringLiteral("ChannelDetails"),
         QStringLiteral("ChannelDetails.qml")},
        {ScreenResultIndividual, QStringLiteral("個別一覧"), QStringLiteral("ResultIndividual"),
         QStringLiteral("MeasurementResultIndividual.qml")},
        {ScreenSystemSetting, QStringLiteral("システム設定"), QStringLiteral("SystemSetting"),
         QStringLiteral("SystemSetting.qml")},
    };

    // Lives until the process ends: replies may still be queued to it when this object goes.
    notifyResponse = new NotifyResponse(applicationModel, systemLog, nullptr);
    keepUntilExit(notifyResponse);

    connectAll(true);
}

MainFrameViewModel::~MainFrameViewModel()
{
    connectAll(false);
    screens.clear();
    viewModels.clear();
}

QObject *MainFrameViewModel::objectFor(const char *name) const
{
    if (qstrcmp(name, Frame) == 0)
        return const_cast<MainFrameViewModel *>(this);
    if (qstrcmp(name, Response) == 0)
        return notifyResponse;
    return viewModels.value(screenIndex(QString::fromLatin1(name)), nullptr);
}

void MainFrameViewModel::connectAll(bool connecting)
{
    for (const CrossConnection &row : crossConnections()) {
        QObject *sender = objectFor(row.sender);
        QObject *receiver = objectFor(row.receiver);
        if (!sender || !receiver)
            continue;
        if (connecting)
            connect(sender, signalCode(row.signal).constData(), receiver, slotCode(row.slot).constData());
        else
            disconnect(sender, signalCode(row.signal).constData(), receiver, slotCode(row.slot).constData());
    }
}

ApplicationModel *MainFrameViewModel::app() const
{
    return qobject_cast<ApplicationModel *>(applicationModel);
}

void MainFrameViewModel::log(const QString &message, int level) const
{
    if (ApplicationModel *model = app())
        model->log(objectName(), message, level);
}

void MainFrameViewModel::createConnection(QObject *root)
{
    this->root = root;
    if (!root)
        return;
    connect(root, SIGNAL(open(QString)), this, SLOT(onOpen(QString)));
    connect(root, SIGNAL(close(QString)), this, SLOT(onClose(QString)));
    connect(root, SIGNAL(buttonClicked(QString)), this, SLOT(onButtonClicked(QString)));
    connect(root, SIGNAL(homeButtonCliecked()), this, SLOT(onHomeButtonClicked()));
    connect(this, SIGNAL(changeHomeDialog()), root, SLOT(onChangeHomeDialog()));
    connect(this, SIGNAL(changeHomeDialogNotify()), root, SLOT(onChangeHomeDialog()));
    connect(root, SIGNAL(scaleButtonClicked(double)), this, SLOT(onScaleButtonClicked(double)));
}

void MainFrameViewModel::showScreen(int index)
{
    currentView = viewModels.at(index);
    const ScreenEntry &entry = screens.at(index);
    currentView->setQmlPath(entry.qmlFile);
    attributesObject->clearTakeOver();
    attributesObject->setQmlPath(entry.qmlFile);
    attributesObject->setViewModel(QVariant::fromValue(currentView));
    currentView->setTakeOver(attributesObject->takeOver());
}

void MainFrameViewModel::openFirstScreen()
{
    ApplicationModel *model = app();
    if (!model || viewModels.isEmpty())
        return;
    showScreen(0);
    QObject *page = model->findQmlObject(screens.at(0).name);
    if (!page)
        return;
    currentView->createConnection(page, this);
    currentView->activate();
    currentView->resume();
}

void MainFrameViewModel::onOpen(QString screenName)
{
    ApplicationModel *model = app();
    if (!model)
        return;
    log(QStringLiteral("Open: %1").arg(screenName));
    previousView = currentView;
    const int index = screenIndex(screenName);
    if (index < 0) {
        log(QStringLiteral("%1 is not found").arg(screenName), LogError);
        return;
    }
    showScreen(index);
    QObject *page = model->findQmlObject(screens.at(index).name);
    if (!page) {
        log(QStringLiteral("Current view is undefined"), LogError);
        return;
    }
    currentView->createConnection(page, this);
    currentView->activate();
    currentView->resume();
}

void MainFrameViewModel::onClose(QString screenName)
{
    if (!app())
        return;
    if (!currentView) {
        log(QStringLiteral("Current view is unsettled"), LogError);
        return;
    }
    currentView->suspend();
    currentView->deactivate();
    log(QStringLiteral("Close: %1").arg(screenName));
}

QString MainFrameViewModel::manualCommandLine()
{
    return QStringLiteral("\"Explorer.exe\" \"%1\"").arg(ManualPath);
}

void MainFrameViewModel::onButtonClicked(QString button)
{
    if (!app())
        return;
    if (button == QLatin1String("help")) {
        log(QStringLiteral("ヘルプ"));
        // The manual is opened by the desktop's viewer for PDF files.
        const QUrl manual = QUrl::fromLocalFile(PlatformPaths::toLocal(ManualPath));
        if (!QDesktopServices::openUrl(manual)) {
            log(QStringLiteral("ヘルプ　エラー"));
            log(manualCommandLine());
        }
    } else if (button == QLatin1String("closewindow")) {
        closeAfterRunningOperation([] {});
    }
}

void MainFrameViewModel::closeDevices()
{
    log(QStringLiteral("ウィンドウを閉じる"));
    if (!appPlayNg) {
        stopMeasuringCheckers();
        closeWritemMeasuerInfo();
    }
}

void MainFrameViewModel::closeAfterRunningOperation(std::function<void()> then)
{
    if (!app()) {
        then();
        return;
    }
    OperationGate *gate = app()->operationGate();
    const QString waitsFor = QString::fromLatin1(gate->runningName());
    // From now on no screen begins an operation or restarts a device. Never inside another
    // operation's wait: the devices it restarts afterwards and the files it writes would not
    // match the registration written here.
    if (gate->enterClose(this, [this, then] {
            closeDevices();
            then();
        })
        == OperationGate::Entry::Queued)
        log(QStringLiteral("close waits for %1").arg(waitsFor.isEmpty() ? QStringLiteral("queued work") : waitsFor));
}

void MainFrameViewModel::onHomeButtonClicked()
{
    if (!app())
        return;
    log(QStringLiteral("閉じる画面の遷移確認"));
    if (currentView)
        currentView->checkChangeDialog();
}

void MainFrameViewModel::onChangeHomeDialog()
{
    if (!app())
        return;
    log(QStringLiteral("HOME画面へ遷移"));
    emit changeHomeDialogNotify();
}

void MainFrameViewModel::onScaleButtonClicked(double scale)
{
    if (!app())
        return;
    log(QStringLiteral("拡大縮小ボタン押下時"));
    emit changeDialogScaleNotify(scale / 100);
}

void MainFrameViewModel::stopMeasuringCheckers()
{
    ApplicationModel *model = app();
    DeviceList *list = model ? model->deviceList() : nullptr;
    if (!list)
        return;
    log(QStringLiteral("測定中のレベルチェッカーを停止する"));
    QList<int> stopped;
    for (int i = 0; i < list->deviceCount(); ++i) {
        LevelChecker *device = list->device(i);
        if (!device || device->pollingLoopActive() != 1)
            continue;
        stopped.append(i);
        device->stopTimer();
        list->stopMeasurementAt(i);
    }
    // Bounded: a worker still busy after the limit is left to the device list's own wait
    // before the devices are deleted at the end of the program.
    QElapsedTimer waited;
    waited.start();
    for (int position : qAsConst(stopped)) {
        const qint64 remaining = StopWaitMs - waited.elapsed();
        if (remaining <= 0)
            break;
        list->waitForPollingLoops(position, static_cast<int>(remaining));
    }
}

void MainFrameViewModel::closeWritemMeasuerInfo()
{
    ApplicationModel *model = app();
    DeviceList *list = model ? model->deviceList() : nullptr;
    if (!list)
        return;
    QVector<RegistrationRecord> records;
    for (int i = 0; i < list->deviceCount(); ++i) {
        if (LevelChecker *device = list->device(i))
            records.append(RegistrationFile::recordOf(*device));
    }
    // Replaced as a whole, port kept: a failed write leaves the previous file intact.
    if (!RegistrationFile::write(RegistrationFile::filePath(), records))
        log(QStringLiteral("DeviceRegistSetting.csv write ERROR"), LogError);
}

void MainFrameViewModel::onWindowCloseNotify(bool value)
{
    if (!app())
        return;
    log(QStringLiteral("ウィンドウを閉じる"));
    appPlayNg = value;
    if (root)
        root->setProperty("appPlayNg", value);
    if (auto *mainWindow = qobject_cast<QWindow *>(window.data()))
        mainWindow->close();
}

QString MainFrameViewModel::currentViewName() const
{
    return currentView ? currentView->objectName() : QString();
}

QString MainFrameViewModel::previousViewName() const
{
    return previousView ? previousView->objectName() : QString();
}

int MainFrameViewModel::screenIndex(const QString &name) const
{
    for (int i = 0; i < screens.size(); ++i) {
        if (screens.at(i).name == name)
            return i;
    }
    return -1;
}

AbstractViewModel *MainFrameViewModel::viewModelOf(const QString &name) const
{
    return viewModels.value(screenIndex(name), nullptr);
}
