#include "monitor/SNMPMonitor.h"

#include "core/ApplicationSetting.h"
#include "core/ConstantTables.h"
#include "core/SharedTypes.h"
#include "core/SystemLog.h"
#include "core/ValueFormat.h"
#include "monitor/ChannelSettingRow.h"
#include "monitor/CycleInterval.h"
#include "monitor/LevelChecker.h"
#include "monitor/SnmpObject.h"
#include "platform/PlatformSleep.h"

#include <QtGlobal>

namespace {
constexpr int MinThreadSleepMs = 100;
constexpr int MaxThreadSleepMs = 3000;
constexpr unsigned long StopSettleMs = 1000;   // after the stop selection, before the next request
constexpr unsigned long RebootDelayMs = 500;   // between the stop selection and the reboot
constexpr unsigned long AfterResultMs = 500;   // after each result read
constexpr int NoValue = -1;                    // a band selection object that is left out

const QString OpticalInputText = QStringLiteral("光");
const QString StopBandCode = QStringLiteral("ISDBT");
const QString StopChannel = QStringLiteral("0");

int clampThreadSleep(int waitMs)
{
    return qBound(MinThreadSleepMs, waitMs, MaxThreadSleepMs);
}
} // namespace

SNMPMonitor::SNMPMonitor(const int &logLevel, int deviceIndex, QString ipAddress, int waitMs, SystemLog *log,
                         QObject *parent)
    : ParallelTask(log, parent)
    , deviceIndex(deviceIndex)
    , ipAddressText(std::move(ipAddress))
    , threadSleepMs(clampThreadSleep(waitMs))
{
    Q_UNUSED(logLevel)
    setObjectName(QStringLiteral("SNMPMonitor"));
}

SNMPMonitor::~SNMPMonitor() = default;

const QMap<QString, int> &SNMPMonitor::cycleIntervalMap()
{
    static const QMap<QString, int> map = {
        {QString(), int(CycleInterval::None)},
        {QStringLiteral("連続"), int(CycleInterval::Continuous)},
        {QStringLiteral("5分"), int(CycleInterval::Minutes5)},
        {QStringLiteral("15分"), int(CycleInterval::Minutes15)},
        {QStringLiteral("30分"), int(CycleInterval::Minutes30)},
        {QStringLiteral("60分"), int(CycleInterval::Minutes60)},
    };
    return map;
}

int SNMPMonitor::cycleIntervalValue(const QString &cycleText)
{
    return cycleIntervalMap().value(cycleText, int(CycleInterval::Continuous));
}

int SNMPMonitor::cycleIntervalMsec(int cycleInterval)
{
    switch (static_cast<CycleInterval>(cycleInterval)) {
    case CycleInterval::Minutes5: return 300000;
    case CycleInterval::Minutes15: return 900000;
    case CycleInterval::Minutes30: return 1800000;
    case CycleInterval::Minutes60: return 3600000;
    default: return 0;
    }
}

int SNMPMonitor::bandIntervalMs(const ApplicationSetting &setting, int bandTabIndex)
{
    switch (bandTabIndex) {
    case BandTerrestrial:
        return setting.uhfRecv;
    case BandBsRight:
    case BandBsLeft:
    case BandCsRight:
    case BandCsLeft:
        // The CS bands share the BS interval; CsRecv is not used.
        return setting.bsRecv;
    case BandCatv:
    case BandCatvUpstream:
        return setting.catvRecv;
    case BandSkyperfectv:
        return setting.skyperfectvRecv;
    case BandJcsat3aHorizontal:
    case BandJcsat3aVertical:
    case BandJcsat4bHorizontal:
    case BandJcsat4bVertical:
        return setting.jcsatRecv;
    case BandSccBHorizontal:
    case BandSccBVertical:
    case BandSccCHorizontal:
    case BandSccCVertical:
        return setting.sccRecv;
    case BandLte:
        return setting.lteRecv;
    case BandFm:
        return setting.fmRecv;
    case BandPilot:
        return setting.pilotRecv;
    default:
        return 0;
    }
}

int SNMPMonitor::channelWaitMs(const ApplicationSetting &setting, const ChannelSettingRow &row, bool withFirstRecv)
{
    return (withFirstRecv ? setting.firstRecv : 0) + (row.powerSupply == 1 ? setting.powerRecv : 0)
        + bandIntervalMs(setting, row.bandTabIndex);
}

int SNMPMonitor::maxChannelCount(const LevelChecker *device)
{
    return device && device->applicationSetting().channelCountFlg == 1 ? 100 : 50;
}

// --- Slots (GUI thread, direct connections) ---

void SNMPMonitor::onRequestToStartMonitoring(LevelChecker *newDevice, int pollingInterval, int timeOutInterval)
{
    Q_UNUSED(pollingInterval)
    Q_UNUSED(timeOutInterval)
    if (isMonitoring.load())
        return;
    device.store(newDevice);
    if (newDevice)
        newDevice->setMeasurementActive(0);
    stopMeasurementRequested.store(false);
    // The wait and a due result belong to the worker thread; it drops them on its next turn.
    restartPending.store(true);
    isMonitoring.store(true);
    ParallelTask::start();
    emit notifyStart();
}

void SNMPMonitor::onRequestToStopMonitoring()
{
    isMonitoring.store(false);
    trace(QStringLiteral("### snmp monitoring thread is suspended."));
}

void SNMPMonitor::onRequestToStopMeasurement()
{
    stopMeasurementRequested.store(true);
    trace(QStringLiteral("### measurement is suspended."));
}

void SNMPMonitor::onRequestToStopAndRebootChecker()
{
    rebootPending.store(true);
    onRequestToStopMeasurement();
}

void SNMPMonitor::onChangeRequestMode(RequestMode newMode)
{
    if (requestMode.load() != int(newMode))
        requestMode.store(int(newMode));
}

// --- The work loop (worker thread) ---

void SNMPMonitor::work()
{
    // Announced before the monitoring flag is read (both sequentially consistent): a GUI
    // thread that has cleared the flag and then sees no work call running knows that none
    // will touch the device any more.
    inWork.store(true);
    struct WorkMark {
        std::atomic<bool> &flag;
        ~WorkMark() { flag.store(false); }
    } mark { inWork };

    if (!isMonitoring.load())
        return;
    LevelChecker *current = device.load();
    if (!current)
        return;

    current->setPollingLoopActive(1);

    loopTable.clear();
    bool firstTurn = true;
    int mode = int(RequestMode::Measurement);
    int infoPosition = 0;
    bool infoFilled = false;
    bool infoComplete = false;

    while (isMonitoring.load()) {
        PlatformSleep::sleepMs(static_cast<unsigned long>(threadSleepMs));
        turns.fetch_add(1);
        // A stop that came during the pause ends the loop before any further request.
        if (!isMonitoring.load())
            break;
        if (current->pollingLoopActive() == 0)
            current->setPollingLoopActive(1);
        if (restartPending.exchange(false)) {
            measurementTimer.stop();
            measurementDue = false;
        }
        if (firstTurn) {
            mode = current->requestMode();
            if (mode == int(RequestMode::Information))
                current->beginIdentityPass();
            firstTurn = false;
        }

        if (mode == int(RequestMode::Information)) {
            // A stop of the measurement also ends an identity pass (nothing is selected on the
            // device to stop), so that whoever waits for this loop sees it leave.
            if (stopMeasurementRequested.load()) {
                if (rebootPending.exchange(false))
                    requestReboot(current);
                onRequestToStopMonitoring();
                break;
            }
            if (infoComplete)
                continue;
            if (!infoFilled) {
                buildStatusGetList(loopTable);
                infoFilled = true;
            }
            const SnmpRequestEntry entry = loopTable.entry(infoPosition);
            if (!entry.enabled) {
                if (++infoPosition >= SnmpRequestTable::EntryCount) {
                    infoPosition = 0;
                    infoComplete = true;
                }
                continue;
            }
            PlatformSleep::sleepMs(static_cast<unsigned long>(qMax(0, entry.waitMs)));
            int sent = 0;
            // Resent on every turn until the device answers.
            if (loopTable.sendGroup(current, deviceIndex, infoPosition, ipAddressText, &sent) == 0) {
                infoPosition += sent;
                if (infoPosition > SnmpRequestTable::EntryCount - 1) {
                    infoPosition = 0;
                    infoComplete = true;
                }
            }
        } else {
            measurementTurn(current);
        }
    }

    current->setPollingLoopActive(0);
}

void SNMPMonitor::buildStatusGetList(SnmpRequestTable &table)
{
    table.clearEnabledFlags();
    for (int i = 0; i < SnmpObject::InformationCount; ++i)
        table.setEntry(i, true, 0, 10, 's', QLatin1String(SnmpObject::Information[i]));
}

void SNMPMonitor::measurementTurn(LevelChecker *current)
{
    if (measurementTimer.takeExpiry())
        onMeasurementTimerTimeout(current);

    if (stopMeasurementRequested.load()) {
        measurementTimer.stop();
        measurementDue = false;
        PlatformSleep::sleepMs(StopSettleMs);
        sendStopSelection(current);
        if (rebootPending.load()) {
            PlatformSleep::sleepMs(RebootDelayMs);
            requestReboot(current);
            rebootPending.store(false);
        }
        onRequestToStopMonitoring();
        return;
    }

    if (current->measurementActive() != 0) {
        if (!measurementDue) {
            if (measurementTimer.isActive())
                return;
            startMeasurementTimer(current);
            if (measurementTimer.takeExpiry())
                onMeasurementTimerTimeout(current);
            if (!measurementDue)
                return;
        }
        requestMeasurementResult(current);
        PlatformSleep::sleepMs(AfterResultMs);
        // In single-channel monitoring the same channel is read again on every turn.
        if (!isChannelMonitoring(current)) {
            measurementDue = false;
            current->setMeasurementActive(0);
        }
        return;
    }

    if (measurementTimer.isActive()) {
        applyCycleInterval(current);
        current->setMeasurementActive(1);
        return;
    }

    if (current->channelSettingCount() > 0) {
        advanceChannel(current);
        current->setMeasurementActive(1);
    }
}

void SNMPMonitor::startMeasurementTimer(LevelChecker *current)
{
    const int index = current->currentChannelIndex();
    if (index > maxChannelCount(current))
        return;
    if (index < 0 || index >= current->channelSettingCount())
        return;

    int interval = 0;
    if (cycleWait) {
        appliedCycleInterval = cycleIntervalValue(current->cycleIntervalText());
        interval = cycleIntervalMsec(appliedCycleInterval);
    } else {
        interval = channelWaitMs(current->applicationSetting(), current->channelSetting(index), firstRecvPending);
    }
    measurementTimer.start(interval);
}

void SNMPMonitor::onMeasurementTimerTimeout(LevelChecker *current)
{
    if (cycleWait) {
        // The pause between passes is over: the next turn starts a new pass.
        current->setMeasurementActive(0);
        measurementDue = false;
    } else {
        measurementDue = true;
    }
}

void SNMPMonitor::applyCycleInterval(LevelChecker *current)
{
    if (current->currentChannelIndex() > maxChannelCount(current))
        return;
    const int cycle = cycleIntervalValue(current->cycleIntervalText());
    if (cycle == appliedCycleInterval)
        return;
    appliedCycleInterval = cycle;
    measurementDue = false;
    measurementTimer.start(cycleIntervalMsec(cycle));
}

bool SNMPMonitor::isChannelMonitoring(const LevelChecker *current) const
{
    return current->applicationSetting().chMonitoring == 1 && current->channelSettingCount() <= 1
        && deviceIndex == 0;
}

bool SNMPMonitor::stopRequested() const
{
    return stopMeasurementRequested.load() || !isMonitoring.load();
}

// --- Channel stepping ---

void SNMPMonitor::advanceChannel(LevelChecker *current)
{
    firstRecvPending = false;
    const int last = qMin(maxChannelCount(current), current->channelSettingCount()) - 1;
    const int cur = current->currentChannelIndex();

    if (cur >= 0 && cur < last && !cycleWait) {
        const int target = cur + 1;
        cycleWait = false;
        trace(QStringLiteral("-------------------333 %1").arg(cur));
        if (ValueFormat::bandNamesDiffer(current->channelSetting(target).bandTabIndex,
                                         current->channelSetting(cur).bandTabIndex))
            firstRecvPending = true;
        selectChannel(current, target);
        return;
    }

    trace(QStringLiteral("-------------------111 %1").arg(cur));
    firstRecvPending = true;
    const int cycle = cycleIntervalValue(current->cycleIntervalText());
    if (cycle != int(CycleInterval::Continuous) && cur == last && !cycleWait) {
        // End of a pass in cycle mode: the device rests until the cycle wait is over.
        cycleWait = true;
        sendStopSelection(current);
        return;
    }

    sendStopSelection(current);
    PlatformSleep::sleepMs(StopSettleMs);
    if (!pushConfiguration(current))
        return;
    cycleWait = false;
    selectChannel(current, 0);
}

bool SNMPMonitor::pushConfiguration(LevelChecker *current)
{
    if (stopRequested())
        return false;
    sendInputType(current);
    if (current->inputTypeText() == OpticalInputText)
        sendWavelength(current);
    if (stopRequested())
        return false;
    sendC24FrequencyType(current);
    if (stopRequested())
        return false;
    sendCh8FrequencyType(current);
    if (stopRequested())
        return false;
    sendTerrestrialMerCn(current);
    if (stopRequested())
        return false;
    sendCatvMerCn(current);
    return !stopRequested();
}

void SNMPMonitor::selectChannel(LevelChecker *current, int target)
{
    const ChannelSettingRow row = current->channelSetting(target);
    sendBandSelection(current, row);
    if (stopRequested())
        return;
    sendPowerSupply(current, row.powerSupply);
    if (stopRequested())
        return;
    current->setCurrentChannelIndex(target);
}

void SNMPMonitor::sendBandSelection(LevelChecker *current, const ChannelSettingRow &row)
{
    const int band = row.bandTabIndex;
    switch (band) {
    case BandTerrestrial:
        setMeasureChannelIsdbt(current, row.channel);
        break;
    case BandBsRight:
    case BandBsLeft:
        setMeasureChannelBs(current, band == BandBsRight ? 0 : 1, row.channel);
        break;
    case BandCsRight:
    case BandCsLeft:
        setMeasureChannelCs(current, band == BandCsRight ? 0 : 1, row.channel);
        break;
    case BandCatv: {
        // The plan keeps "0" ISDB-T and "3" ISDB-C; the device takes 0 and 1.
        const int standard = row.broadbandSystem == QLatin1String("3") ? 1 : row.broadbandSystem.toInt();
        setMeasureChannelCatvAll(current, standard, row.channel);
        break;
    }
    case BandSkyperfectv:
        setMeasureChannelOpticast(current, row.channel);
        break;
    case BandCatvUpstream:
        setMeasureChannelUl(current, ValueFormat::frequencyText(band, quint32(row.frequency), false), row.channel);
        break;
    case BandJcsat3aHorizontal:
    case BandJcsat3aVertical:
    case BandJcsat4bHorizontal:
    case BandJcsat4bVertical:
    case BandSccBHorizontal:
    case BandSccBVertical:
    case BandSccCHorizontal:
    case BandSccCVertical: {
        // Horizontal bands are the even ones: 2 horizontal, 3 vertical.
        const int polarisation = band % 2 == 0 ? 2 : 3;
        const int oscillator = ValueFormat::localFrequencyCode(row.localFrequency).toInt();
        if (band <= BandJcsat3aVertical)
            setMeasureChannelJcsat3a(current, polarisation, oscillator, row.channel);
        else if (band <= BandJcsat4bVertical)
            setMeasureChannelJcsat4b(current, polarisation, oscillator, row.channel);
        else if (band <= BandSccBVertical)
            setMeasureChannelSccB(current, polarisation, oscillator, row.channel);
        else
            setMeasureChannelSccC(current, polarisation, oscillator, row.channel);
        break;
    }
    case BandLte:
        setMeasureChannelLte(current, row.channel);
        break;
    case BandFm:
        setMeasureChannelFm(current, ValueFormat::frequencyText(band, quint32(row.frequency), false), row.channel);
        break;
    case BandPilot:
        setMeasureChannelPilot(current, ValueFormat::frequencyText(band, quint32(row.frequency), false), row.channel);
        break;
    default:
        // An unknown band selects nothing; the power feed is still set.
        break;
    }
}

void SNMPMonitor::buildBandSetList(SnmpRequestTable &table, const QString &bandCode, int standard, int polarisation,
                                   int localOscillator, const QString &frequency, const QString &channel)
{
    table.clear();
    int index = 0;
    if (!bandCode.isEmpty())
        table.setEntry(index++, true, 0, 0, 's', QLatin1String(SnmpObject::BandCode), bandCode);
    if (standard >= 0)
        table.setEntry(index++, true, 0, 0, 'i', QLatin1String(SnmpObject::BroadcastStandard),
                       QString::number(standard));
    if (polarisation >= 0)
        table.setEntry(index++, true, 0, 0, 'i', QLatin1String(SnmpObject::Polarisation),
                       QString::number(polarisation));
    if (localOscillator >= 0)
        table.setEntry(index++, true, 0, 0, 'i', QLatin1String(SnmpObject::LocalOscillator),
                       QString::number(localOscillator));
    if (!frequency.isEmpty())
        table.setEntry(index++, true, 0, 0, 's', QLatin1String(SnmpObject::Frequency), frequency);
    if (!channel.isEmpty())
        table.setEntry(index++, true, 0, 0, 's', QLatin1String(SnmpObject::Channel), channel);
}

void SNMPMonitor::sendBandTable(LevelChecker *current, const QString &bandCode, int standard, int polarisation,
                                int localOscillator, const QString &frequency, const QString &channel)
{
    buildBandSetList(stepTable, bandCode, standard, polarisation, localOscillator, frequency, channel);
    stepTable.sendRequestTable(current, deviceIndex, ipAddressText);
}

void SNMPMonitor::sendStopSelection(LevelChecker *current)
{
    sendBandTable(current, StopBandCode, NoValue, NoValue, NoValue, QString(), StopChannel);
}

void SNMPMonitor::setMeasureChannelIsdbt(LevelChecker *current, const QString &channel)
{
    sendBandTable(current, QStringLiteral("ISDBT"), NoValue, NoValue, NoValue, QString(), channel);
}

void SNMPMonitor::setMeasureChannelOpticast(LevelChecker *current, const QString &channel)
{
    sendBandTable(current, QStringLiteral("OPTICAST"), NoValue, NoValue, NoValue, QString(), channel);
}

void SNMPMonitor::setMeasureChannelLte(LevelChecker *current, const QString &channel)
{
    sendBandTable(current, QStringLiteral("LTE"), NoValue, NoValue, NoValue, QString(), channel);
}

void SNMPMonitor::setMeasureChannelBs(LevelChecker *current, int polarisation, const QString &channel)
{
    sendBandTable(current, QStringLiteral("BS"), NoValue, polarisation, NoValue, QString(), channel);
}

void SNMPMonitor::setMeasureChannelCs(LevelChecker *current, int polarisation, const QString &channel)
{
    sendBandTable(current, QStringLiteral("CS"), NoValue, polarisation, NoValue, QString(), channel);
}

void SNMPMonitor::setMeasureChannelJcsat3a(LevelChecker *current, int polarisation, int localOscillator,
                                           const QString &channel)
{
    sendBandTable(current, QStringLiteral("JCSAT-3A"), NoValue, polarisation, localOscillator, QString(), channel);
}

void SNMPMonitor::setMeasureChannelJcsat4b(LevelChecker *current, int polarisation, int localOscillator,
                                           const QString &channel)
{
    sendBandTable(current, QStringLiteral("JCSAT-4B"), NoValue, polarisation, localOscillator, QString(), channel);
}

void SNMPMonitor::setMeasureChannelSccB(LevelChecker *current, int polarisation, int localOscillator,
                                        const QString &channel)
{
    sendBandTable(current, QStringLiteral("SCC-B"), NoValue, polarisation, localOscillator, QString(), channel);
}

void SNMPMonitor::setMeasureChannelSccC(LevelChecker *current, int polarisation, int localOscillator,
                                        const QString &channel)
{
    sendBandTable(current, QStringLiteral("SCC-C"), NoValue, polarisation, localOscillator, QString(), channel);
}

void SNMPMonitor::setMeasureChannelCatvAll(LevelChecker *current, int standard, const QString &channel)
{
    sendBandTable(current, QStringLiteral("CATV_ALL"), standard, NoValue, NoValue, QString(), channel);
}

void SNMPMonitor::setMeasureChannelUl(LevelChecker *current, const QString &frequency, const QString &channel)
{
    sendBandTable(current, QStringLiteral("UL"), NoValue, NoValue, NoValue, frequency, channel);
}

void SNMPMonitor::setMeasureChannelFm(LevelChecker *current, const QString &frequency, const QString &channel)
{
    sendBandTable(current, QStringLiteral("FM"), NoValue, NoValue, NoValue, frequency, channel);
}

void SNMPMonitor::setMeasureChannelPilot(LevelChecker *current, const QString &frequency, const QString &channel)
{
    sendBandTable(current, QStringLiteral("PILOT"), NoValue, NoValue, NoValue, frequency, channel);
}

// --- One-object requests ---

void SNMPMonitor::sendSingle(LevelChecker *current, const char *oidSuffix, char type, const QString &value)
{
    stepTable.clear();
    stepTable.setEntry(0, true, 0, 0, type, QLatin1String(oidSuffix), value);
    stepTable.sendRequestTable(current, deviceIndex, ipAddressText);
}

void SNMPMonitor::sendInputType(LevelChecker *current)
{
    sendSingle(current, SnmpObject::InputType, 'i',
               current->inputTypeText() == OpticalInputText ? QStringLiteral("1") : QStringLiteral("0"));
}

void SNMPMonitor::sendWavelength(LevelChecker *current)
{
    static const QMap<QString, int> codes = {
        {QStringLiteral("1300"), 0}, {QStringLiteral("1310"), 1}, {QStringLiteral("1490"), 2},
        {QStringLiteral("1550"), 3}, {QStringLiteral("1625"), 4},
    };
    sendSingle(current, SnmpObject::Wavelength, 'i', QString::number(codes.value(current->wavelengthText(), 3)));
}

void SNMPMonitor::sendC24FrequencyType(LevelChecker *current)
{
    sendSingle(current, SnmpObject::C24FrequencyType, 'i', QString::number(current->c24FrequencyType()));
}

void SNMPMonitor::sendCh8FrequencyType(LevelChecker *current)
{
    sendSingle(current, SnmpObject::Ch8FrequencyType, 'i', QString::number(current->ch8FrequencyType()));
}

void SNMPMonitor::sendTerrestrialMerCn(LevelChecker *current)
{
    sendSingle(current, SnmpObject::TerrestrialMerCn, 'i',
               QString::number(ConstantTables::lookup(MerCnrTable, current->terrestrialMerCnText())));
}

void SNMPMonitor::sendCatvMerCn(LevelChecker *current)
{
    sendSingle(current, SnmpObject::CatvMerCn, 'i',
               QString::number(ConstantTables::lookup(MerCnrTable, current->catvMerCnText())));
}

void SNMPMonitor::sendPowerSupply(LevelChecker *current, int powerSupply)
{
    sendSingle(current, SnmpObject::PowerSupply, 'i', QString::number(powerSupply));
}

void SNMPMonitor::requestReboot(LevelChecker *current)
{
    sendSingle(current, SnmpObject::Reboot, 'i', QStringLiteral("1"));
}

void SNMPMonitor::requestMeasurementResult(LevelChecker *current)
{
    sendSingle(current, SnmpObject::MeasResult, 's', QString());
}

void SNMPMonitor::trace(const QString &message) const
{
    if (log)
        log->write(objectName(), message, LogConsole);
}
