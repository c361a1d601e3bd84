#include "settings/ChannelSettingViewModel.h"

#include "core/ConstantTables.h"
#include "core/ValueFormat.h"
#include "monitor/ApplicationModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "storage/ChannelSettingFile.h"

#include <QCoreApplication>
#include <QDir>

#include <cmath>
#include <iterator>

namespace {

// The page connections, in the order they are made: sender is the page (true) or the view
// model, then the two signatures.
const AbstractViewModel::PageConnection kPageConnections[] = {
    {true, SIGNAL(bandChange(int)), SLOT(onBandChanged(int))},
    {true, SIGNAL(channelSignal(int, QString, bool)), SLOT(onChannelSignal(int, QString, bool))},
    {true, SIGNAL(allCheckInfo(int, bool)), SLOT(onAllChecked(int, bool))},
    {true, SIGNAL(broadbandChange(int, int)), SLOT(onBroadbandChange(int, int))},
    {true, SIGNAL(catvSetting2(bool)), SLOT(onCatvSetting2(bool))},
    {true, SIGNAL(catvSetting4(bool)), SLOT(onCatvSetting4(bool))},
    {true, SIGNAL(frequencyChange(int, QString, QString)), SLOT(onFrequencyChange(int, QString, QString))},
    {true, SIGNAL(resetSignal(bool)), SLOT(onResetSignal(bool))},
    {true, SIGNAL(saveSignal(bool)), SLOT(onSaveSignal(bool))},
    {false, SIGNAL(openPopup(QVariant)), SLOT(onOpenPopup(QVariant))},
    {false, SIGNAL(transWindow(QVariant)), SLOT(transit(QVariant))},
    {true, SIGNAL(changeDestroy()), SLOT(onChangeDestroy())},
    {true, SIGNAL(notChangeDestroy()), SLOT(onNotChangeDestroy())},
    {true, SIGNAL(channelFileSelect(int, QString)), SLOT(onChannelFileSelect(int, QString))},
    {true, SIGNAL(returnSignal()), SLOT(onReturnSignal())},
    {true, SIGNAL(convertMerCnr(int, QString)), SLOT(onConvertMerCnr(int, QString))},
};

const QString kNoFile = QStringLiteral("読み込めるファイルがありません");
const QString kMer = QStringLiteral("MER");
const QString kCnr = QStringLiteral("CNR");

// Rows the column all-check never ticks: beyond the rows the page shows of CATV上り and FM.
const QStringList kSkippedRows {
    QStringLiteral("UL 8"), QStringLiteral("UL 9"), QStringLiteral("UL 10"), QStringLiteral("UL 11"),
    QStringLiteral("UL 12"), QStringLiteral("FM 9"), QStringLiteral("FM 10"), QStringLiteral("FM 11"),
    QStringLiteral("FM 12"),
};

constexpr int kFmRows = 8;
constexpr int kUpstreamRows = 7;

struct CatvPlanRow {
    const char *channel;
    int first;  // MHz of the first setting
    int second; // MHz of the second setting
};

// SHB: "設定1" / "設定2".
const CatvPlanRow kShbPlan[] = {{"C24", 231, 233}, {"C25", 237, 239}, {"C26", 243, 245}, {"C27", 249, 251}};
// VHF: "設定3" / "設定4".
const CatvPlanRow kVhfPlan[] = {{"8", 195, 191}, {"9", 201, 197}, {"10", 207, 203}, {"11", 213, 209}, {"12", 219, 215}};

// Writes one CATV frequency plan into the CATV rows of plan, up to and including the row
// lastChannel when one is given.
void applyCatvPlan(QVector<ChannelSettingEntry> *plan, const CatvPlanRow *rows, int count, bool second,
                   const QString &lastChannel)
{
    for (ChannelSettingEntry &entry : *plan) {
        if (entry.bandTabIndex != BandCatv)
            continue;
        for (int i = 0; i < count; ++i) {
            if (entry.channel != QLatin1String(rows[i].channel))
                continue;
            const QString mhz = QString::number(second ? rows[i].second : rows[i].first);
            // ISDB-C rows sit on the whole MHz, ISDB-T rows 143 kHz above; others stay.
            if (entry.broadbandSystem == 3)
                entry.frequency = mhz + QStringLiteral("000");
            else if (entry.broadbandSystem == 0)
                entry.frequency = mhz + QStringLiteral("143");
        }
        if (!lastChannel.isEmpty() && entry.channel == lastChannel)
            break;
    }
}

struct FrequencyLimit {
    int band;
    int lowest;
    int highest;
    int step;  // 0: none
    int popup; // pop-up of a step fault
};

const FrequencyLimit kFrequencyLimits[] = {
    {BandCatvUpstream, 10000, 60000, 50, ChannelSettingViewModel::PopupStep005},
    {BandFm, 70000, 95000, 0, 0},
    {BandPilot, 70000, 996000, 250, ChannelSettingViewModel::PopupStep025},
};

// The page column (1-4) of a band within its group.
int columnOfBand(int band)
{
    switch (band) {
    case 0: case 1: case 5: case 6: case 7: case 8: case 12: case 16: case 18:
        return 1;
    case 2: case 9: case 13: case 17:
        return 2;
    case 3: case 10: case 14:
        return 3;
    case 4: case 11: case 15:
        return 4;
    default:
        return 0;
    }
}

// MHz text as typed to kHz text, by its length and the position of its point.
QString typedMhzToKhz(const QString &text)
{
    const int length = text.size();
    if (length >= 4 && length <= 6) {
        for (int position = 1; position <= 3; ++position) {
            if (text.at(position) != QLatin1Char('.'))
                continue;
            QString result = text;
            if (position == 1) {
                // Below 10 MHz: the digit after the point goes too; every band rejects it.
                result.remove(1, length == 4 ? 1 : 2);
                return result;
            }
            result.remove(position, 1);
            const int zeros = 3 - (length - 1 - position);
            return result + QString(qMax(0, zeros), QLatin1Char('0'));
        }
        return text;
    }
    if (length == 3) {
        if (text.at(2) == QLatin1Char('.'))
            return text.left(2) + QStringLiteral("000");
        return text + QStringLiteral("000");
    }
    if (length == 1 || length == 2)
        return text + QStringLiteral("000");
    return text;
}

bool allTrue(const QVariantList &flags)
{
    for (const QVariant &flag : flags) {
        if (!flag.toBool())
            return false;
    }
    return true;
}

} // namespace

ChannelSettingViewModel::ChannelSettingViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent)
    : AbstractViewModel(screenId, applicationModel, parent)
{
    setObjectName(QStringLiteral("ChannelSettingViewModel"));
    logEnter("ChannelSettingViewModel");
    logLeave("ChannelSettingViewModel");
}

ChannelSettingViewModel::~ChannelSettingViewModel() = default;

// --- Screen life cycle ---

void ChannelSettingViewModel::resume()
{
    logEnter("resume");
    logLeave("resume");
}

void ChannelSettingViewModel::suspend()
{
    logEnter("suspend");
    logLeave("suspend");
}

void ChannelSettingViewModel::createConnection(QObject *newPage, QObject *newFrame)
{
    logEnter("createConnection");
    // A page left connected from an earlier visit would deliver every signal twice.
    connectPage(false);
    AbstractViewModel::createConnection(newPage, newFrame);
    connectPage(true);
    logLeave("createConnection");
}

void ChannelSettingViewModel::connectPage(bool connecting)
{
    connectPageSignals(kPageConnections, connecting);
}

bool ChannelSettingViewModel::readPlan(const QString &path, QVector<ChannelSettingEntry> *rows)
{
    if (ChannelSettingFile::read(path, rows))
        return true;
    log(QDir::toNativeSeparators(path) + QStringLiteral(" read ERROR"));
    return false;
}

void ChannelSettingViewModel::activate()
{
    ApplicationModel *model = app();
    if (!model)
        return;
    logEnter("activate");
    returnRequested = false;
    saving = false;
    writeScreenChangeLog();

    workingPlan.clear();
    loadedPlan.clear();
    committedPlan.clear();
    const ChannelSettingFile::EditSources sources = ChannelSettingFile::editSources(deviceNo);
    if (!sources.comparedPath.isEmpty())
        readPlan(sources.comparedPath, &committedPlan);
    readPlan(sources.editedPath, &workingPlan);
    loadedPlan = workingPlan;

    QStringList terrestrialNames;
    QVariantList terrestrialChecks;
    for (const ChannelSettingEntry &entry : qAsConst(workingPlan)) {
        if (entry.bandTabIndex != BandTerrestrial)
            continue;
        terrestrialNames.append(entry.channel);
        terrestrialChecks.append(entry.measuring);
    }
    setPageProperty("maxCheckNum", maxChannels());
    setPageProperty("bandInfo", 0);
    setPageProperty("channelNumber", terrestrialNames.size());
    setPageProperty("chName1", terrestrialNames);
    setPageProperty("countTrue1", terrestrialChecks);

    buildSummary();

    if (frame) {
        if (frame->property("previousViewName").toString() == QLatin1String("MeasurementResultViewModel")) {
            DeviceList *list = model->deviceList();
            if (LevelChecker *device = list ? list->device(deviceNo - 1) : nullptr) {
                ofdmMerCnr = device->terrestrialMerCnText();
                catvMerCnr = device->catvMerCnText();
                ofdmMerCnrEdit = ofdmMerCnr;
                catvMerCnrEdit = catvMerCnr;
                merCnrChanged = false;
            }
        }
    }

    setPageProperty("allcheckState1", allTrue(terrestrialChecks));
    writeSummary();
    setMerCnRadio(ofdmMerCnr);
    makeChannelFileList();
    setPageProperty("currentfile", QStringLiteral("機器No.%1: %2 を編集中").arg(deviceNo).arg(deviceName));
    setPageProperty("scaling", model->dialogScale());
    logLeave("activate");
}

void ChannelSettingViewModel::deactivate()
{
    logEnter("deactivate");
    clearLists();
    workingPlan.clear();
    selectedBands.clear();
    selectedChannels.clear();
    bandChecks.clear();
    loadedPlan.clear();
    committedPlan.clear();
    planFileNames.clear();
    planFileLabels.clear();
    returnRequested = false;
    saving = false;
    connectPage(false);
    page = nullptr;
    logLeave("deactivate");
}

// --- Leaving ---

bool ChannelSettingViewModel::changesPending() const
{
    if (ChannelSettingFile::plansDiffer(workingPlan, loadedPlan))
        return true;
    if (!committedPlan.isEmpty() && ChannelSettingFile::plansDiffer(workingPlan, committedPlan))
        return true;
    return merCnrChanged || ofdmMerCnr != ofdmMerCnrEdit || catvMerCnr != catvMerCnrEdit;
}

bool ChannelSettingViewModel::pendingPairExists() const
{
    return ChannelSettingFile::pendingPairExists(deviceNo);
}

bool ChannelSettingViewModel::leaveRemovesPending() const
{
    return !returnRequested || origin == ScreenMeasurementResult;
}

void ChannelSettingViewModel::removeEditingFiles(bool pendingToo)
{
    ChannelSettingFile::removeCopy(deviceNo, ChannelSettingFile::Copy::Working);
    if (!pendingToo)
        return;
    ChannelSettingFile::removePendingPair(deviceNo);
}

void ChannelSettingViewModel::leave()
{
    if (returnRequested) {
        if (origin == ScreenDeviceSetting) {
            // The pending pair waits for the device settings to be applied.
            removeEditingFiles(false);
            emit transWindow(QStringLiteral("DeviceSetting.qml"));
        } else if (origin == ScreenMeasurementResult) {
            removeEditingFiles(true);
            emit transWindow(QStringLiteral("MeasurementResult.qml"));
        }
        return;
    }
    removeEditingFiles(true);
    emit changeHomeDialog();
}

void ChannelSettingViewModel::checkChangeDialog()
{
    logEnter("checkChangeDialog");
    // A pending pair saved earlier on the details screen is the operator's work too: it is
    // not deleted without asking.
    if (changesPending() || (leaveRemovesPending() && pendingPairExists())) {
        emit openPopup(PopupDiscard);
        // Lets the page show the question before this returns.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return;
    }
    leave();
}

void ChannelSettingViewModel::onChangeDestroy()
{
    logEnter("onChangeDestroy");
    leave();
    logLeave("onChangeDestroy");
}

void ChannelSettingViewModel::onNotChangeDestroy()
{
    returnRequested = false;
}

void ChannelSettingViewModel::onReturnSignal()
{
    returnRequested = true;
    checkChangeDialog();
}

// --- Data from other screens ---

void ChannelSettingViewModel::onDataPassDeviceData(int deviceNo, QString name, ScreenId screenId)
{
    logEnter("onDataPassDeviceData");
    log(QStringLiteral("-------- onDataPassDeviceData ---------- signal ----------"));
    log(QStringLiteral("deiceNo --- %1, name --- %2, ScreenId --- %3").arg(deviceNo).arg(name).arg(int(screenId)));
    this->deviceNo = deviceNo;
    deviceName = name;
    origin = screenId;
    logLeave("onDataPassDeviceData");
}

void ChannelSettingViewModel::onDataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed)
{
    merCnDevice = deviceNo;
    ofdmMerCnr = ofdm;
    catvMerCnr = catv;
    merCnrChanged = changed;
    ofdmMerCnrEdit = ofdm;
    catvMerCnrEdit = catv;
}

void ChannelSettingViewModel::onChangeDialogScaleNotify(double scale)
{
    logEnter("onChangeDialogScaleNotify");
    setPageProperty("scaling", scale);
}

void ChannelSettingViewModel::onConvertMerCnr(int band, QString textmessage)
{
    const QString mode = textmessage == QStringLiteral("換算CN") ? kCnr : textmessage;
    if (band == BandTerrestrial)
        ofdmMerCnrEdit = mode;
    else if (band == BandCatv)
        catvMerCnrEdit = mode;
}

// --- Choosing channels ---

int ChannelSettingViewModel::maxChannels() const
{
    ApplicationModel *model = app();
    return model ? model->maxChannelCount() : 50;
}

int ChannelSettingViewModel::checkedCount() const
{
    int count = 0;
    for (const ChannelSettingEntry &entry : workingPlan) {
        if (entry.measuring)
            ++count;
    }
    return count;
}

QString ChannelSettingViewModel::displayFrequency(const ChannelSettingEntry &entry) const
{
    const qint64 kHz = qint64(entry.frequency.toLongLong()) - entry.localFrequency;
    return ValueFormat::frequencyText(entry.bandTabIndex, quint32(qBound<qint64>(0, kHz, 0xffffffffLL)), false);
}

void ChannelSettingViewModel::setMerCnRadio(const QString &mode)
{
    if (!page)
        return;
    const char *name = mode == kMer ? "radioButton5" : (mode == kCnr ? "radioButton6" : nullptr);
    if (!name)
        return;
    if (QObject *radio = page->findChild<QObject *>(QLatin1String(name)))
        radio->setProperty("checked", true);
}

void ChannelSettingViewModel::onBandChanged(int button)
{
    QStringList names;
    QVariantList checks;
    QStringList frequencies;
    int shb = 0;
    int vhf = 0;
    for (const ChannelSettingEntry &entry : qAsConst(workingPlan)) {
        const int band = entry.bandTabIndex;
        if (button == BandBsRight || button == BandJcsat3aHorizontal || button == BandSccBHorizontal) {
            const int column = band - button;
            if (column >= 0 && column < 4) {
                quadColumns[column].names.append(entry.channel);
                quadColumns[column].checks.append(entry.measuring);
            }
        } else if (button == BandLte) {
            if (band == BandLte) {
                lteColumn.names.append(entry.channel);
                lteColumn.checks.append(entry.measuring);
            } else if (band == BandFm && fmColumn.names.size() < kFmRows) {
                fmColumn.names.append(entry.channel);
                fmColumn.checks.append(entry.measuring);
                fmColumn.frequencies.append(displayFrequency(entry));
            }
        } else if (button == BandCatvUpstream) {
            if (band == BandCatvUpstream && upstreamColumn.names.size() < kUpstreamRows) {
                upstreamColumn.names.append(entry.channel);
                upstreamColumn.checks.append(entry.measuring);
                upstreamColumn.frequencies.append(displayFrequency(entry));
            }
        } else if (band == button) {
            names.append(entry.channel);
            checks.append(entry.measuring);
            frequencies.append(displayFrequency(entry));
            if (button == BandCatv)
                ChannelSettingFile::noteCatvVariant(entry.channel, entry.frequency, &shb, &vhf);
        }
    }

    updateAllCheckStates(button);

    switch (button) {
    case BandTerrestrial:
    case BandSkyperfectv:
    case BandPilot:
        setPageProperty("channelNumber", names.size());
        setPageProperty("chName1", names);
        setPageProperty("countTrue1", checks);
        setPageProperty("hertz1", frequencies);
        if (button == BandTerrestrial)
            setMerCnRadio(ofdmMerCnrEdit);
        break;
    case BandBsRight:
    case BandJcsat3aHorizontal:
    case BandSccBHorizontal:
        // BS/CS counts its rows by the CS 左旋 column, the satellite pairs by their third.
        setPageProperty("channelNumber", quadColumns[button == BandBsRight ? 3 : 2].names.size());
        setPageProperty("chName1", quadColumns[0].names);
        setPageProperty("chName2", quadColumns[1].names);
        setPageProperty("chName3", quadColumns[2].names);
        setPageProperty("chName4", quadColumns[3].names);
        setPageProperty("countTrue1", quadColumns[0].checks);
        setPageProperty("countTrue2", quadColumns[1].checks);
        setPageProperty("countTrue3", quadColumns[2].checks);
        setPageProperty("countTrue4", quadColumns[3].checks);
        break;
    case BandCatv:
        setPageProperty("channelNumber", names.size());
        setPageProperty("chName1", names);
        setPageProperty("countTrue1", checks);
        setPageProperty("hertz1", frequencies);
        setPageProperty("shb", shb == 1);
        setPageProperty("vhf", vhf == 1);
        setMerCnRadio(catvMerCnrEdit);
        break;
    case BandCatvUpstream:
        setPageProperty("channelNumber", upstreamColumn.names.size());
        setPageProperty("chName1", upstreamColumn.names);
        setPageProperty("hertz1", upstreamColumn.frequencies);
        setPageProperty("countTrue1", upstreamColumn.checks);
        break;
    case BandLte:
        setPageProperty("channelNumber", fmColumn.names.size());
        setPageProperty("chName1", lteColumn.names);
        setPageProperty("countTrue1", lteColumn.checks);
        setPageProperty("chName2", fmColumn.names);
        setPageProperty("hertz2", fmColumn.frequencies);
        setPageProperty("countTrue2", fmColumn.checks);
        break;
    default:
        break;
    }

    clearLists();
}

void ChannelSettingViewModel::updateAllCheckStates(int band)
{
    bool states[4] = {true, true, true, true};
    switch (band) {
    case BandBsRight:
    case BandJcsat3aHorizontal:
    case BandSccBHorizontal:
        for (int i = 0; i < 4; ++i)
            states[i] = allTrue(quadColumns[i].checks);
        break;
    case BandLte:
        states[0] = allTrue(lteColumn.checks);
        states[1] = allTrue(fmColumn.checks);
        break;
    case BandCatvUpstream:
        states[0] = allTrue(upstreamColumn.checks);
        break;
    case BandTerrestrial:
    case BandCatv:
    case BandSkyperfectv:
    case BandPilot:
        for (const ChannelSettingEntry &entry : qAsConst(workingPlan)) {
            if (entry.bandTabIndex == band && !entry.measuring)
                states[0] = false;
        }
        break;
    default:
        break;
    }
    setPageProperty("allcheckState1", states[0]);
    setPageProperty("allcheckState2", states[1]);
    setPageProperty("allcheckState3", states[2]);
    setPageProperty("allcheckState4", states[3]);
}

void ChannelSettingViewModel::clearLists()
{
    for (Column &column : quadColumns)
        column.clear();
    lteColumn.clear();
    fmColumn.clear();
    upstreamColumn.clear();
}

void ChannelSettingViewModel::onAllChecked(int bandInfo, bool allCheck)
{
    logEnter("onAllChecked");
    int free = maxChannels() - checkedCount();
    for (ChannelSettingEntry &entry : workingPlan) {
        if (entry.bandTabIndex != bandInfo || kSkippedRows.contains(entry.channel))
            continue;
        if (free > 0) {
            if (allCheck && !entry.measuring) {
                entry.measuring = true;
                --free;
            } else if (!allCheck) {
                entry.measuring = false;
            }
        } else if (!allCheck) {
            entry.measuring = false;
        } else if (free < 0) {
            emit openPopup(PopupLimit);
        }
    }
    readBandChecks(bandInfo);
    allChecked = allCheck;
    previewList(bandInfo);
    logLeave("onAllChecked");
}

void ChannelSettingViewModel::onChannelSignal(int bandInfo, QString checkbutton, bool checkInfo)
{
    logEnter("onChannelSignal");
    const int free = maxChannels() - checkedCount();
    for (ChannelSettingEntry &entry : workingPlan) {
        if (entry.bandTabIndex != bandInfo || entry.channel != checkbutton)
            continue;
        if (free > 0) {
            entry.measuring = checkInfo;
            checkDuplicateChannel(bandInfo);
        } else if (!checkInfo) {
            // Also over the limit, so that the operator can get below it again.
            entry.measuring = false;
        } else {
            emit openPopup(PopupLimit);
        }
        break;
    }
    readBandChecks(bandInfo);
    allChecked = allTrue(bandChecks);
    previewList(bandInfo);
    logLeave("onChannelSignal");
}

void ChannelSettingViewModel::readBandChecks(int band)
{
    bandChecks.clear();
    for (const ChannelSettingEntry &entry : qAsConst(workingPlan)) {
        if (entry.bandTabIndex == band)
            bandChecks.append(entry.measuring);
    }
}

void ChannelSettingViewModel::buildSummary()
{
    selectedBands.clear();
    selectedChannels.clear();
    const int limit = maxChannels();
    QList<int> bands;
    for (const ChannelSettingEntry &entry : qAsConst(workingPlan)) {
        if (selectedChannels.size() >= limit)
            break;
        if (!entry.measuring)
            continue;
        bands.append(entry.bandTabIndex);
        selectedChannels.append(entry.channel);
    }
    for (int band : qAsConst(bands))
        selectedBands.append(ConstantTables::lookup(BandShortNameTable, band));
}

void ChannelSettingViewModel::writeSummary()
{
    setPageProperty("bandInfo", selectedBands);
    setPageProperty("checkbutton", selectedChannels);
    setPageProperty("countCheck", selectedChannels.size());
}

void ChannelSettingViewModel::previewList(int band)
{
    logEnter("previewList");
    buildSummary();
    const int column = columnOfBand(band);
    if (column > 0) {
        setPageProperty(QStringLiteral("countTrue%1").arg(column).toLatin1().constData(), bandChecks);
        setPageProperty(QStringLiteral("allcheckState%1").arg(column).toLatin1().constData(), allChecked);
    }
    writeSummary();
    logLeave("previewList");
}

void ChannelSettingViewModel::onResetSignal(bool resetFlag)
{
    if (resetFlag) {
        for (ChannelSettingEntry &entry : workingPlan)
            entry.measuring = false;
    }
    selectedBands.clear();
    selectedChannels.clear();
    bandChecks.clear();
    for (int column = 1; column <= 4; ++column)
        setPageProperty(QStringLiteral("allcheckState%1").arg(column).toLatin1().constData(), false);
    setPageProperty("bandInfo", QVariantList());
    setPageProperty("checkbutton", QStringList());
    for (int column = 1; column <= 4; ++column)
        setPageProperty(QStringLiteral("countTrue%1").arg(column).toLatin1().constData(), QVariantList());
    setPageProperty("countCheck", 0);
}

// --- CATV plans and frequencies ---

void ChannelSettingViewModel::onCatvSetting2(bool setting2)
{
    // The plan's SHB rows end with "C27": rows after it are not visited.
    applyCatvPlan(&workingPlan, kShbPlan, int(std::size(kShbPlan)), setting2, QStringLiteral("C27"));
}

void ChannelSettingViewModel::onCatvSetting4(bool setting4)
{
    applyCatvPlan(&workingPlan, kVhfPlan, int(std::size(kVhfPlan)), setting4, QString());
}

void ChannelSettingViewModel::onBroadbandChange(int bandInfo, int localfreqFlag)
{
    int local = 0;
    switch (localfreqFlag) {
    case 1: local = 10678000; break;
    case 2: local = 11200000; break;
    case 3: local = 11300000; break;
    default: return;
    }
    for (ChannelSettingEntry &entry : workingPlan) {
        if (entry.bandTabIndex == bandInfo)
            entry.localFrequency = local;
    }
}

void ChannelSettingViewModel::onFrequencyChange(int bandInfo, QString ch, QString freq)
{
    const FrequencyLimit *limit = nullptr;
    for (const FrequencyLimit &l : kFrequencyLimits) {
        if (l.band == bandInfo)
            limit = &l;
    }
    if (!limit) {
        validationOk = true;
        return;
    }
    ChannelSettingEntry *row = nullptr;
    for (ChannelSettingEntry &entry : workingPlan) {
        if (entry.bandTabIndex == bandInfo && entry.channel == ch) {
            row = &entry;
            break;
        }
    }
    if (!row)
        return;
    const QString text = saving ? freq : typedMhzToKhz(freq);
    row->frequency = text;
    bool ok = false;
    float value = text.toFloat(&ok);
    if (!ok)
        value = 0;
    if (value < float(limit->lowest) || value > float(limit->highest)) {
        validationOk = false;
        emit openPopup(PopupOutOfRange);
        return;
    }
    if (limit->step > 0 && std::fmod(double(value), double(limit->step)) != 0.0) {
        validationOk = false;
        emit openPopup(limit->popup);
        return;
    }
    validationOk = true;
    checkDuplicateChannel(bandInfo);
}

void ChannelSettingViewModel::checkDuplicateChannel(int band)
{
    QVector<const ChannelSettingEntry *> checked;
    for (const ChannelSettingEntry &entry : qAsConst(workingPlan)) {
        if (entry.bandTabIndex == band && entry.measuring)
            checked.append(&entry);
    }
    for (int i = 0; i < checked.size(); ++i) {
        for (int j = i + 1; j < checked.size(); ++j) {
            if (checked.at(i)->frequency == checked.at(j)->frequency) {
                validationOk = false;
                setPageProperty("popupmsg", checked.at(i)->channel + QStringLiteral(" と ") + checked.at(j)->channel);
                emit openPopup(PopupDuplicate);
                return;
            }
            validationOk = true;
        }
    }
}

// --- Saving and copying ---

void ChannelSettingViewModel::onSaveSignal(bool saveFlag)
{
    if (!saveFlag)
        return;
    // Without rows the details screen would save a plan of nothing over the device's plan.
    if (workingPlan.isEmpty()) {
        emit openPopup(PopupEmptyPlan);
        return;
    }
    saving = true;
    struct Checked {
        int band;
        QString channel;
        QString frequency;
    };
    QVector<Checked> rows;
    for (const ChannelSettingEntry &entry : qAsConst(workingPlan)) {
        if (entry.measuring)
            rows.append({entry.bandTabIndex, entry.channel, entry.frequency});
    }
    if (rows.isEmpty())
        validationOk = true;
    for (const Checked &row : qAsConst(rows)) {
        onFrequencyChange(row.band, row.channel, row.frequency);
        if (!validationOk) {
            saving = false;
            return;
        }
    }
    if (ofdmMerCnr != ofdmMerCnrEdit || catvMerCnr != catvMerCnrEdit) {
        ofdmMerCnr = ofdmMerCnrEdit;
        catvMerCnr = catvMerCnrEdit;
        merCnrChanged = true;
    }
    // The details screen works on the working copy: it never opens on a stale or missing one.
    if (!saveChannelSubFile()) {
        saving = false;
        emit openPopup(PopupWriteFailed);
        return;
    }
    emit dataPassScreenData(deviceNo, deviceName, origin);
    emit dataPassMerCnr(deviceNo, ofdmMerCnr, catvMerCnr, merCnrChanged);
    emit transWindow(QStringLiteral("ChannelDetails.qml"));
}

bool ChannelSettingViewModel::saveChannelSubFile()
{
    const QString path = ChannelSettingFile::filePath(deviceNo, ChannelSettingFile::Copy::Working);
    if (ChannelSettingFile::write(path, workingPlan))
        return true;
    log(QDir::toNativeSeparators(path) + QStringLiteral(" write ERROR"));
    return false;
}

void ChannelSettingViewModel::makeChannelFileList()
{
    planFileNames.clear();
    planFileLabels.clear();
    ApplicationModel *model = app();
    DeviceList *list = model ? model->deviceList() : nullptr;
    const int count = list ? list->deviceCount() : 0;
    if (count == 0) {
        planFileLabels.append(kNoFile);
    } else {
        for (int i = 1; i <= count; ++i) {
            if (!ChannelSettingFile::exists(i, ChannelSettingFile::Copy::Committed))
                continue;
            LevelChecker *device = list->device(i - 1);
            if (!device)
                continue;
            planFileNames.append(ChannelSettingFile::fileName(i));
            planFileLabels.append(QStringLiteral("機器No.%1\u3000 %2").arg(device->deviceNo()).arg(device->name()));
        }
    }
    setPageProperty("filename", planFileLabels);
}

void ChannelSettingViewModel::onChannelFileSelect(int bandInfo, QString currentText)
{
    int index = -1;
    for (int i = 0; i < planFileNames.size() && i < planFileLabels.size(); ++i) {
        if (planFileLabels.at(i) == currentText) {
            index = i;
            break;
        }
    }
    if (index < 0)
        return;
    clearLists();
    workingPlan.clear();
    bandChecks.clear();
    readPlan(ChannelSettingFile::folderPath() + QLatin1Char('/') + planFileNames.at(index), &workingPlan);
    previewList(bandInfo);
    onBandChanged(bandInfo);
}
