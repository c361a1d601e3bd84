#include "settings/ChannelDetailsViewModel.h"

#include "core/ChannelDetailsModel.h"
#include "core/ConstantTables.h"
#include "core/OperationGate.h"
#include "core/ValueFormat.h"
#include "monitor/ApplicationModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "platform/PlatformSleep.h"
#include "screens/InputShield.h"
#include "storage/AlertSettingFile.h"
#include "storage/ChannelSettingFile.h"
#include "storage/DevicePlanLoader.h"
#include "storage/SettingFileText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QVector>

namespace {

const QString Converted = QStringLiteral("(換算)");
const QString Terrestrial = QStringLiteral("地デジ");
const QString TerrestrialConverted = QStringLiteral("地デジ(換算)");
const QString Catv = QStringLiteral("CATV");
const QString CatvConverted = QStringLiteral("CATV(換算)");
const QString Optical = QStringLiteral("スカパー！光");
const QString Isdbt = QStringLiteral("ISDBT");
const QString Isdbc = QStringLiteral("ISDBC");
const QString NoValue = QStringLiteral("---");

// Bands without MER/CN and BER thresholds.
bool isLevelOnlyBand(const QString &bandName)
{
    static const QStringList names = {QStringLiteral("CATV上り"), QStringLiteral("FM"),
                                      QStringLiteral("LTE"), QStringLiteral("PILOT")};
    return names.contains(bandName);
}

bool isSatelliteBand(const QString &bandName)
{
    static const QStringList names = {
        QStringLiteral("JCSAT-3A 水平"), QStringLiteral("JCSAT-3A 垂直"), QStringLiteral("JCSAT-4B 水平"),
        QStringLiteral("JCSAT-4B 垂直"), QStringLiteral("SCC-B 水平"),    QStringLiteral("SCC-B 垂直"),
        QStringLiteral("SCC-C 水平"),    QStringLiteral("SCC-C 垂直")};
    return names.contains(bandName);
}

bool outside(float value, float low, float high)
{
    return value < low || value > high;
}

// A threshold text as a single-precision number; text that is no number reads as 0.
float numberOf(const QString &text)
{
    bool ok = false;
    const float value = text.toFloat(&ok);
    return ok ? value : 0.0f;
}

// The field of an edit row that a model role names.
QString ChannelDetailsRow::*fieldOf(int role)
{
    switch (role) {
    case ChannelDetailsModel::ChannelNoRole: return &ChannelDetailsRow::channelNo;
    case ChannelDetailsModel::BandNameRole: return &ChannelDetailsRow::BandName;
    case ChannelDetailsModel::ChannelNameRole: return &ChannelDetailsRow::ChannelName;
    case ChannelDetailsModel::FrequencycodeRole: return &ChannelDetailsRow::Frequencycode;
    case ChannelDetailsModel::BroadbandRole: return &ChannelDetailsRow::Broadband;
    case ChannelDetailsModel::LocalFrequencyRole: return &ChannelDetailsRow::LocalFrequency;
    case ChannelDetailsModel::PowerSupplyRole: return &ChannelDetailsRow::PowerSupply;
    case ChannelDetailsModel::LevelMinRole: return &ChannelDetailsRow::LevelMin;
    case ChannelDetailsModel::LevelMaxRole: return &ChannelDetailsRow::LevelMax;
    case ChannelDetailsModel::MerRole: return &ChannelDetailsRow::Mer;
    case ChannelDetailsModel::BerRole: return &ChannelDetailsRow::Ber;
    case ChannelDetailsModel::HikariLevelMinRole: return &ChannelDetailsRow::HikariLevelMin;
    case ChannelDetailsModel::HikariLevelMaxRole: return &ChannelDetailsRow::HikariLevelMax;
    case ChannelDetailsModel::ConvCNRRole: return &ChannelDetailsRow::ConvCNR;
    default: return nullptr;
    }
}

ChannelDetailsEntry entryOf(const ChannelSettingEntry &row)
{
    ChannelDetailsEntry entry;
    entry.bandTabIndex = row.bandTabIndex;
    entry.channel = row.channel;
    entry.frequency = row.frequency;
    entry.broadbandSystem = row.broadbandSystem;
    entry.localFrequency = QString::number(row.localFrequency);
    entry.powerSupply = row.powerSupply != 0;
    entry.measuring = row.measuring;
    return entry;
}

ChannelSettingEntry settingOf(const ChannelDetailsEntry &entry)
{
    ChannelSettingEntry row;
    row.bandTabIndex = entry.bandTabIndex;
    row.channel = entry.channel;
    row.frequency = entry.frequency;
    row.broadbandSystem = entry.broadbandSystem;
    row.localFrequency = SettingFileText::toInt(entry.localFrequency);
    row.powerSupply = entry.powerSupply ? 1 : 0;
    row.measuring = entry.measuring;
    return row;
}

} // namespace

ChannelDetailsViewModel::ChannelDetailsViewModel(ScreenId screenId, ApplicationModel *applicationModel, QObject *parent)
    : AbstractViewModel(screenId, applicationModel, parent)
{
    setObjectName(QStringLiteral("ChannelDetailsViewModel"));
}

ChannelDetailsViewModel::~ChannelDetailsViewModel() = default;

// --- Tables ---

const QMap<QString, QString> &ChannelDetailsViewModel::localFrequencyTable()
{
    static const QMap<QString, QString> table = {
        {QStringLiteral("0"), NoValue},
        {QStringLiteral("9505000"), QStringLiteral("9.505")},
        {QStringLiteral("10678000"), QStringLiteral("10.678")},
        {QStringLiteral("11200000"), QStringLiteral("11.2")},
        {QStringLiteral("11300000"), QStringLiteral("11.3")},
    };
    return table;
}

const QMap<bool, QString> &ChannelDetailsViewModel::powerSupplyTable()
{
    static const QMap<bool, QString> table = {
        {false, QStringLiteral("しない")},
        {true, QStringLiteral("する")},
    };
    return table;
}

ChannelDetailsEntry ChannelDetailsViewModel::defaultThresholds(int band)
{
    ChannelDetailsEntry entry;
    const auto set = [&entry](const char *levelMin, const char *levelMax, const char *mer, const char *ber,
                              const char *convertCnr) {
        entry.levelMin = QString::fromUtf8(levelMin);
        entry.levelMax = QString::fromUtf8(levelMax);
        entry.merCn = QString::fromUtf8(mer);
        entry.ber = QString::fromUtf8(ber);
        entry.hikariLevelMin = QStringLiteral("-10.0");
        entry.hikariLevelMax = QStringLiteral("0.0");
        entry.convertCnr = QString::fromUtf8(convertCnr);
    };
    switch (band) {
    case BandTerrestrial: set("47.0", "90.0", "20.0", "2.0E-4", "20.0"); break;
    case BandBsRight:
    case BandBsLeft: set("50.0", "81.0", "9.0", "2.0E-4", "---"); break;
    case BandCsRight:
    case BandCsLeft: set("50.0", "81.0", "6.0", "2.0E-4", "---"); break;
    case BandCatv: set("49.0", "81.0", "26.0", "2.0E-4", "20.0"); break;
    case BandSkyperfectv: set("57.0", "81.0", "30.0", "2.0E-4", "---"); break;
    case BandCatvUpstream: set("60.0", "90.0", "---", "---", "---"); break;
    case BandJcsat3aHorizontal:
    case BandJcsat3aVertical:
    case BandJcsat4bHorizontal:
    case BandJcsat4bVertical:
    case BandSccBHorizontal:
    case BandSccBVertical:
    case BandSccCHorizontal:
    case BandSccCVertical: set("50.0", "81.0", "7.0", "2.0E-4", "---"); break;
    case BandLte:
    case BandFm: set("20.0", "120.0", "---", "---", "---"); break;
    case BandPilot: set("50.0", "90.0", "---", "---", "---"); break;
    default: break;
    }
    return entry;
}

// --- Texts and checks ---

QString ChannelDetailsViewModel::formatThresholdText(float value)
{
    const QString t = QString::number(static_cast<double>(value), 'g', 6);
    if (t.size() == 5)
        return t.startsWith(QLatin1Char('0')) ? t.mid(1) : t;
    if (value == 0.0f)
        return NoValue;
    const QChar point(QLatin1Char('.'));
    switch (t.size()) {
    case 4:
        return t.at(1) == point || t.at(2) == point ? t : QString();
    case 3:
        if (t.at(1) == point)
            return t;
        return value >= 100.0f && value <= 120.0f ? t + QStringLiteral(".0") : QString();
    case 2:
    case 1:
        return t + QStringLiteral(".0");
    default:
        return QString();
    }
}

bool ChannelDetailsViewModel::isOneDecimalText(const QString &text)
{
    QString t = text;
    if (t.contains(QLatin1Char('-')))
        t.remove(0, 1);
    if (t.isEmpty() || t.count(QLatin1Char('.')) != 1 || t.startsWith(QLatin1Char('.')))
        return false;
    return t.size() >= 2 && t.at(t.size() - 2) == QLatin1Char('.');
}

bool ChannelDetailsViewModel::hasOnlyLeadingMinus(const QString &text)
{
    return text.lastIndexOf(QLatin1Char('-')) <= 0;
}

bool ChannelDetailsViewModel::checkBer(QString *ber)
{
    const QString text = *ber;
    if (text.isEmpty())
        return false;
    QString mantissa = text.left(text.indexOf(QLatin1Char('E')) < 0 ? text.size() : text.indexOf(QLatin1Char('E')));
    const int minus = text.indexOf(QLatin1Char('-'));
    const QChar exponentChar = minus < 0 ? text.at(0) : (minus + 1 < text.size() ? text.at(minus + 1) : QChar());
    const int exponent = exponentChar.isDigit() ? exponentChar.digitValue() : 0;

    const int point = mantissa.indexOf(QLatin1Char('.'));
    if (point >= 0 && point + 2 == mantissa.size() && mantissa.at(point + 1) == QLatin1Char('0'))
        mantissa = mantissa.left(1);
    else if (mantissa.size() > 1)
        mantissa.remove(1, 1);

    QString decimal = QString(exponent, QLatin1Char('0')) + mantissa;
    if (!decimal.isEmpty())
        decimal.insert(1, QLatin1Char('.'));
    const double value = static_cast<double>(numberOf(decimal));
    if (value >= 9e-9 && value <= 0.022)
        return true;
    if (decimal == QStringLiteral("-.-")) {
        *ber = NoValue;
        return true;
    }
    if (decimal == QStringLiteral("0.")) {
        *ber = QStringLiteral("0.0E-0");
        return true;
    }
    return false;
}

QString ChannelDetailsViewModel::normalBerText(const QString &ber)
{
    const int e = ber.indexOf(QLatin1Char('E'));
    QString mantissa = e < 0 ? ber : ber.left(e);
    const int minus = ber.indexOf(QLatin1Char('-'));
    const QString exponent = minus < 0 ? ber.left(1) : ber.mid(minus + 1, 1);
    const int point = mantissa.indexOf(QLatin1Char('.'));
    if (point >= 0 && point + 1 == mantissa.size() && mantissa.size() >= 2)
        mantissa.insert(2, QLatin1Char('0'));
    return mantissa + QStringLiteral("E-") + exponent;
}

int ChannelDetailsViewModel::validateRow(ChannelDetailsEditRow *row, const QString &ofdmMerCnr,
                                         const QString &catvMerCnr)
{
    const float levelMin = numberOf(row->LevelMin);
    const float levelMax = numberOf(row->LevelMax);
    if (outside(levelMin, 20.0f, 120.0f))
        return PopupLevelMin;
    if (outside(levelMax, 20.0f, 120.0f))
        return PopupLevelMax;
    if (levelMin > levelMax)
        return PopupLevelOrder;

    const QString &band = row->BandName;
    const float mer = numberOf(row->Mer);
    if ((band == Catv && row->Broadband == Isdbc) || band == Optical) {
        if (outside(mer, 20.0f, 40.0f))
            return PopupCatvOrOpticalMer;
    } else if (isSatelliteBand(band)) {
        if (outside(mer, 5.0f, 25.0f))
            return PopupSatelliteCn;
    } else if (isLevelOnlyBand(band)) {
        if (outside(mer, 5.0f, 35.0f))
            row->Mer = NoValue;
    } else if (row->Broadband != Isdbc) {
        if (outside(mer, 5.0f, 35.0f))
            return PopupMerCn;
    }

    const float convertedCn = numberOf(row->ConvCNR);
    if (ofdmMerCnr == QLatin1String("CNR") && (band == Terrestrial || band == TerrestrialConverted)
        && outside(convertedCn, 5.0f, 35.0f))
        return PopupTerrestrialConvertedCn;
    if (catvMerCnr == QLatin1String("CNR") && (band == Catv || band == CatvConverted) && row->Broadband == Isdbt
        && outside(convertedCn, 5.0f, 35.0f))
        return PopupCatvConvertedCn;

    if (!checkBer(&row->Ber))
        return PopupBer;

    const auto opticalOutside = [](float value) {
        return static_cast<double>(value) < -30.1 || static_cast<double>(value) > 5.1;
    };
    const auto wellFormed = [](const QString &text) { return hasOnlyLeadingMinus(text) && isOneDecimalText(text); };
    if (!wellFormed(row->HikariLevelMin))
        return PopupOpticalMinForm;
    const float opticalMin = numberOf(row->HikariLevelMin);
    if (opticalOutside(opticalMin))
        return PopupOpticalMinRange;
    if (!wellFormed(row->HikariLevelMax))
        return PopupOpticalMaxForm;
    const float opticalMax = numberOf(row->HikariLevelMax);
    if (opticalOutside(opticalMax))
        return PopupOpticalMaxRange;
    if (opticalMin > opticalMax)
        return PopupOpticalOrder;
    return 0;
}

// --- Frame ---

void ChannelDetailsViewModel::resume()
{
    logEnter("resume");
    logLeave("resume");
}

void ChannelDetailsViewModel::suspend()
{
    logEnter("suspend");
    detailsModel = nullptr;
    logLeave("suspend");
}

void ChannelDetailsViewModel::createConnection(QObject *newPage, QObject *newFrame)
{
    logEnter("createConnection");
    connectPage(false);
    AbstractViewModel::createConnection(newPage, newFrame);
    connectPage(true);
    logLeave("createConnection");
}

void ChannelDetailsViewModel::connectPage(bool connecting)
{
    static const PageConnection connections[] = {
        {true, SIGNAL(detailChange(QString, QString, QString, QString, QString, int, QString, QString, QString)),
         SLOT(onDetailChange(QString, QString, QString, QString, QString, int, QString, QString, QString))},
        {true, SIGNAL(saveSignal(bool)), SLOT(onSaveSignal(bool))},
        {false, SIGNAL(transWindow(QVariant)), SLOT(transit(QVariant))},
        {false, SIGNAL(openPopup(QVariant)), SLOT(onOpenPopup(QVariant))},
        {true, SIGNAL(changeDestroy()), SLOT(onChangeDestroy())},
        {true, SIGNAL(notChangeDestroy()), SLOT(onNotChangeDestroy())},
    };
    connectPageSignals(connections, connecting);
}

void ChannelDetailsViewModel::deactivate()
{
    logEnter("deactivate");
    connectPage(false);
    committedPlan.clear();
    workingPlan.clear();
    measuringRows.clear();
    editRows.clear();
    initialRows.clear();
    returnRequested = false;
    page = nullptr;
    logLeave("deactivate");
}

void ChannelDetailsViewModel::activate()
{
    ApplicationModel *model = app();
    if (!model)
        return;
    logEnter("activate");
    writeScreenChangeLog();
    committedPlan.clear();
    workingPlan.clear();
    measuringRows.clear();
    editRows.clear();
    initialRows.clear();
    readChannelFiles();
    QList<ChannelDetailsEntry> alertRows;
    bool alertFileExists = false;
    readAlertFile(&alertRows, &alertFileExists);
    mergeThresholds(alertRows);

    detailsModel = qobject_cast<ChannelDetailsModel *>(model->findQmlObject(QStringLiteral("channelDetailsModel")));
    if (detailsModel) {
        detailsModel->setCapacity(model->maxChannelCount());
        detailsModel->clear();
    }
    for (int i = 0; i < measuringRows.size(); ++i) {
        const ChannelDetailsEditRow row = makeEditRow(i + 1, measuringRows.at(i), alertFileExists);
        if (detailsModel)
            detailsModel->addRow(row);
        editRows.append(row);
        initialRows.append(row);
        setPageProperty("numbers", detailsModel ? detailsModel->rowCount() : editRows.size());
        setPageProperty("ofdmMerCnr", ofdmMerCnr);
        setPageProperty("catvMerCnr", catvMerCnr);
    }
    setPageProperty("currentfile", QStringLiteral("機器No.%1: %2 を編集中").arg(deviceNo).arg(deviceName));
    setPageProperty("scaling", model->dialogScale());
    returnRequested = false;
    // Opened without a device handed over, there is nothing to warn about (or to save).
    if (workingCopyMissing && deviceNo >= 1)
        emit openPopup(PopupNoWorkingCopy);
    logLeave("activate");
}

void ChannelDetailsViewModel::readChannelFiles()
{
    const QString working = ChannelSettingFile::filePath(deviceNo, ChannelSettingFile::Copy::Working);
    const auto readInto = [this](const QString &path, QList<ChannelDetailsEntry> *list) {
        QVector<ChannelSettingEntry> rows;
        if (!ChannelSettingFile::read(path, &rows)) {
            log(path + QStringLiteral(" read ERROR"));
            return false;
        }
        for (const ChannelSettingEntry &row : qAsConst(rows))
            list->append(entryOf(row));
        return true;
    };
    if (QFileInfo(working).isFile()) {
        if (ChannelSettingFile::exists(deviceNo, ChannelSettingFile::Copy::Committed))
            readInto(ChannelSettingFile::filePath(deviceNo, ChannelSettingFile::Copy::Committed), &committedPlan);
        else if (ChannelSettingFile::exists(deviceNo, ChannelSettingFile::Copy::Pending))
            readInto(ChannelSettingFile::filePath(deviceNo, ChannelSettingFile::Copy::Pending), &committedPlan);
    }
    // Without the working copy there is no plan to edit; saving nothing would erase the
    // device's channels, so the screen refuses to save.
    workingCopyMissing = !readInto(working, &workingPlan);
    // The variants as a restart reads them from the saved plan: from 0, measured rows only.
    c24FrequencyType = 0;
    ch8FrequencyType = 0;
    for (const ChannelDetailsEntry &entry : qAsConst(workingPlan)) {
        if (!entry.measuring)
            continue;
        measuringRows.append(entry);
        if (entry.bandTabIndex == BandCatv)
            ChannelSettingFile::noteCatvVariant(entry.channel, entry.frequency, &c24FrequencyType, &ch8FrequencyType);
    }
}

void ChannelDetailsViewModel::readAlertFile(QList<ChannelDetailsEntry> *alertRows, bool *alertFileExists)
{
    QDir().mkpath(AlertSettingFile::folderPath());
    const AlertSettingFile::Copy copy = AlertSettingFile::exists(deviceNo, AlertSettingFile::Copy::Pending)
                                            ? AlertSettingFile::Copy::Pending
                                            : AlertSettingFile::Copy::Committed;
    *alertFileExists = AlertSettingFile::exists(deviceNo, copy);
    if (!*alertFileExists)
        return;
    const QString path = AlertSettingFile::filePath(deviceNo, copy);
    QVector<AlertSettingRow> rows;
    if (!AlertSettingFile::read(path, &rows)) {
        log(path + QStringLiteral(" read ERROR"));
        return;
    }
    for (const AlertSettingRow &row : qAsConst(rows)) {
        ChannelDetailsEntry entry;
        entry.bandTabIndex = row.bandTabIndex;
        entry.channel = row.channel;
        entry.levelMin = row.levelMin;
        entry.levelMax = row.levelMax;
        entry.merCn = row.merCn;
        entry.ber = row.ber;
        entry.hikariLevelMin = row.hikariLevelMin;
        entry.hikariLevelMax = row.hikariLevelMax;
        entry.convertCnr = row.convertCnr;
        alertRows->append(entry);
    }
}

void ChannelDetailsViewModel::mergeThresholds(const QList<ChannelDetailsEntry> &alertRows)
{
    // Matched by band and channel, not by position: the file may hold rows of channels
    // unticked since, and its reader drops the blanks the plan's names keep ("UL 1").
    const auto key = [](int band, QString channel) {
        return QStringLiteral("%1,%2").arg(band).arg(channel.remove(QLatin1Char(' ')));
    };
    QVector<bool> taken(alertRows.size(), false);
    for (ChannelDetailsEntry &row : measuringRows) {
        const QString wanted = key(row.bandTabIndex, row.channel);
        int match = -1;
        for (int i = 0; i < alertRows.size() && match < 0; ++i) {
            if (!taken.at(i) && key(alertRows.at(i).bandTabIndex, alertRows.at(i).channel) == wanted)
                match = i;
        }
        if (match < 0)
            continue;
        taken[match] = true;
        const ChannelDetailsEntry &alert = alertRows.at(match);
        row.levelMin = alert.levelMin;
        row.levelMax = alert.levelMax;
        row.merCn = alert.merCn;
        row.ber = alert.ber;
        row.hikariLevelMin = alert.hikariLevelMin;
        row.hikariLevelMax = alert.hikariLevelMax;
        row.convertCnr = alert.convertCnr;
    }
}

ChannelDetailsEditRow ChannelDetailsViewModel::makeEditRow(int position, const ChannelDetailsEntry &entry,
                                                           bool alertFileExists) const
{
    ChannelDetailsEditRow row;
    const int band = entry.bandTabIndex;
    row.channelNo = QString::number(position);
    row.BandName = BandNameTable.value(band);
    row.ChannelName = entry.channel;
    row.Frequencycode = ValueFormat::frequencyText(band, entry.frequency.toUInt() - entry.localFrequency.toUInt(), false);
    row.Broadband = band == BandCatv ? StandardCodeTable.key(entry.broadbandSystem, QString())
                                     : BroadcastStandardTable.value(band);
    row.LocalFrequency = localFrequencyTable().value(entry.localFrequency);
    row.PowerSupply = powerSupplyTable().value(entry.powerSupply);
    const ChannelDetailsEntry &thresholds =
        !alertFileExists || entry.levelMin.isEmpty() ? defaultThresholds(band) : entry;
    row.LevelMin = thresholds.levelMin;
    row.LevelMax = thresholds.levelMax;
    row.Mer = thresholds.merCn;
    row.Ber = thresholds.ber;
    row.HikariLevelMin = thresholds.hikariLevelMin;
    row.HikariLevelMax = thresholds.hikariLevelMax;
    row.ConvCNR = thresholds.convertCnr;
    if (ofdmMerCnr == QLatin1String("CNR") && row.BandName == Terrestrial)
        row.BandName += Converted;
    if (catvMerCnr == QLatin1String("CNR") && row.BandName == Catv && row.Broadband == Isdbt)
        row.BandName += Converted;
    return row;
}

// --- Hand-over slots ---

void ChannelDetailsViewModel::onDataPassScreenData(int deviceNo, QString name, ScreenId screenId)
{
    logEnter("onDataPassScreenData");
    log(QStringLiteral("-------- onDataPassScreenData ---------- signal ----------"));
    log(QStringLiteral("deiceNo ---> %1, name ---> %2, ScreenId ---> %3").arg(deviceNo).arg(name).arg(int(screenId)));
    this->deviceNo = deviceNo;
    deviceName = name;
    origin = screenId;
    logLeave("onDataPassScreenData");
}

void ChannelDetailsViewModel::onDataPassMerCnr(int deviceNo, QString ofdm, QString catv, bool changed)
{
    Q_UNUSED(deviceNo)
    ofdmMerCnr = ofdm;
    catvMerCnr = catv;
    merCnrChanged = changed;
}

void ChannelDetailsViewModel::onNotChangeDestroy()
{
    returnRequested = false;
}

void ChannelDetailsViewModel::onChangeDialogScaleNotify(double scale)
{
    logEnter("onChangeDialogScaleNotify");
    setPageProperty("scaling", scale);
}

// --- Edits ---

void ChannelDetailsViewModel::onDetailChange(QString bandname, QString chname, QString buttonName, QString text,
                                             QString alert, int rowIndex, QString alertHikariMin,
                                             QString alertHikariMax, QString convertCnr)
{
    if (buttonName == QLatin1String("detailsLocalFreqBoxJCSAT") || buttonName == QLatin1String("detailsLocalFreqBoxSCC"))
        changeLocalFrequency(bandname, text, rowIndex);
    else if (buttonName == QLatin1String("detailsPowerText"))
        changePowerSupply(bandname, text, rowIndex);
    else if (buttonName == QLatin1String("detailsBroadbandBox"))
        changeBroadbandSystem(bandname, text, rowIndex);
    else if (buttonName == QLatin1String("detailsLevelMinText"))
        setLevelMin(text, rowIndex);
    else if (buttonName == QLatin1String("detailsLevelMaxText"))
        setLevelMax(text, rowIndex);
    else if (buttonName == QLatin1String("detailsMerText"))
        setMerCn(text, rowIndex);
    else if (buttonName == QLatin1String("detailsBerText"))
        setBer(text, rowIndex);
    else if (buttonName == QLatin1String("detailsHikariMin"))
        setHikariLevelMin(text, rowIndex);
    else if (buttonName == QLatin1String("detailsHikariMax"))
        setHikariLevelMax(text, rowIndex);
    else if (buttonName == QLatin1String("individualcheck"))
        setRowChecked(text, rowIndex);
    else if (buttonName == QLatin1String("allcheckbox"))
        setAllChecked(text);
    else if (buttonName == QLatin1String("catvchange"))
        changeCatvBroadbandSystem(text, rowIndex != 0);
    else if (alert == QLatin1String("alertPopup"))
        applyAlertSettings(bandname, chname, buttonName, text, rowIndex != 0, alertHikariMin, alertHikariMax,
                           convertCnr);
    else if (bandname == QLatin1String("returnbutton")) {
        returnRequested = true;
        checkChangeDialog();
    } else if (buttonName == QLatin1String("detailsCnrText"))
        setConvertCnr(text, rowIndex);
}

void ChannelDetailsViewModel::setRowText(int row, int role, const QString &text, bool logIt)
{
    if (logIt) {
        log(text);
        log(QString::number(row));
    }
    QString ChannelDetailsRow::*field = fieldOf(role);
    if (!isRow(row) || !field)
        return;
    editRows[row].*field = text;
    if (detailsModel)
        detailsModel->setData(detailsModel->index(row), text, role);
}

void ChannelDetailsViewModel::setLevelMin(const QString &text, int row) { setRowText(row, ChannelDetailsModel::LevelMinRole, text); }
void ChannelDetailsViewModel::setLevelMax(const QString &text, int row) { setRowText(row, ChannelDetailsModel::LevelMaxRole, text); }
void ChannelDetailsViewModel::setMerCn(const QString &text, int row) { setRowText(row, ChannelDetailsModel::MerRole, text); }
void ChannelDetailsViewModel::setBer(const QString &text, int row) { setRowText(row, ChannelDetailsModel::BerRole, text); }
void ChannelDetailsViewModel::setHikariLevelMin(const QString &text, int row) { setRowText(row, ChannelDetailsModel::HikariLevelMinRole, text); }
void ChannelDetailsViewModel::setHikariLevelMax(const QString &text, int row) { setRowText(row, ChannelDetailsModel::HikariLevelMaxRole, text); }
void ChannelDetailsViewModel::setConvertCnr(const QString &text, int row) { setRowText(row, ChannelDetailsModel::ConvCNRRole, text); }

void ChannelDetailsViewModel::setRowChecked(const QString &value, int row)
{
    if (isRow(row))
        editRows[row].selected = value != QLatin1String("false");
}

void ChannelDetailsViewModel::setAllChecked(const QString &value)
{
    for (ChannelDetailsEditRow &row : editRows)
        row.selected = value != QLatin1String("false");
}

void ChannelDetailsViewModel::changeBroadbandSystem(const QString &bandName, const QString &standard, int row)
{
    const int band = AlertSettingFile::bandTabIndexOfName(bandName == CatvConverted ? Catv : bandName);
    log(standard);
    log(QString::number(row));
    if (!isRow(row) || row >= measuringRows.size())
        return;
    ChannelDetailsEntry &entry = measuringRows[row];
    entry.broadbandSystem = StandardCodeTable.value(standard, -1);
    setRowText(row, ChannelDetailsModel::BroadbandRole, standard, false);

    // An ISDB-T carrier of a CATV channel sits 143 kHz above the ISDB-C one.
    quint32 frequency = entry.frequency.toUInt();
    if (standard == Isdbt && entry.frequency.endsWith(QLatin1String("000"))) {
        frequency += 143;
        entry.frequency = QString::number(frequency);
    } else if (standard != Isdbt && entry.frequency.endsWith(QLatin1String("143"))) {
        frequency -= 143;
        entry.frequency = QString::number(frequency);
    }
    setRowText(row, ChannelDetailsModel::FrequencycodeRole, ValueFormat::frequencyText(band, frequency, false), false);

    if (catvMerCnr == QLatin1String("CNR")) {
        QString name = editRows.at(row).BandName;
        if (editRows.at(row).Broadband == Isdbt) {
            if (name == Catv)
                name = CatvConverted;
        } else if (editRows.at(row).Broadband == Isdbc) {
            name.remove(Converted);
        }
        setRowText(row, ChannelDetailsModel::BandNameRole, name, false);
    }
}

void ChannelDetailsViewModel::changeLocalFrequency(const QString &bandName, const QString &ghzText, int row)
{
    const int band = AlertSettingFile::bandTabIndexOfName(bandName);
    log(ghzText);
    log(QString::number(row));
    const QString kHz = localFrequencyTable().key(ghzText, QString());
    quint32 oscillator = 0;
    if (ghzText == QLatin1String("10.678"))
        oscillator = 10678000;
    else if (ghzText == QLatin1String("11.2"))
        oscillator = 11200000;
    else if (ghzText == QLatin1String("11.3"))
        oscillator = 11300000;
    for (int i = 0; i < editRows.size() && i < measuringRows.size(); ++i) {
        if (editRows.at(i).BandName != bandName)
            continue;
        editRows[i].LocalFrequency = kHz;
        measuringRows[i].localFrequency = kHz;
        const QString code = oscillator != 0
                                 ? ValueFormat::frequencyText(band, measuringRows.at(i).frequency.toUInt() - oscillator, false)
                                 : QString();
        editRows[i].Frequencycode = code;
        if (detailsModel)
            detailsModel->setLocalFrequency(code, ghzText, i);
    }
    for (ChannelDetailsEntry &entry : workingPlan) {
        if (entry.bandTabIndex == band)
            entry.localFrequency = kHz;
    }
}

void ChannelDetailsViewModel::changePowerSupply(const QString &bandName, const QString &text, int row)
{
    QString twin;
    if (bandName == CatvConverted)
        twin = Catv;
    else if (bandName == Catv)
        twin = CatvConverted;
    log(text);
    log(QString::number(row));
    const bool feed = powerSupplyTable().key(text, false);
    for (int i = 0; i < editRows.size() && i < measuringRows.size(); ++i) {
        const QString &name = editRows.at(i).BandName;
        if (name != bandName && (twin.isEmpty() || name != twin))
            continue;
        if (detailsModel)
            detailsModel->setPowerSupply(text, i);
        editRows[i].PowerSupply = text;
        measuringRows[i].powerSupply = feed;
    }
    const int band = AlertSettingFile::bandTabIndexOfName(QString(bandName).remove(Converted));
    for (ChannelDetailsEntry &entry : workingPlan) {
        if (entry.bandTabIndex == band)
            entry.powerSupply = feed;
    }
}

void ChannelDetailsViewModel::changeCatvBroadbandSystem(const QString &standard, bool selectedOnly)
{
    log(standard);
    for (int i = 0; i < editRows.size(); ++i) {
        const ChannelDetailsEditRow &row = editRows.at(i);
        if ((row.BandName == Catv || row.BandName == CatvConverted) && (!selectedOnly || row.selected))
            changeBroadbandSystem(row.BandName, standard, i);
    }
}

void ChannelDetailsViewModel::setCnText(const QString &text, int row)
{
    log(text);
    log(QString::number(row));
    if (!isRow(row))
        return;
    const QString &name = editRows.at(row).BandName;
    const bool converted = name == Terrestrial || name == Catv || name == TerrestrialConverted || name == CatvConverted;
    setRowText(row, converted ? ChannelDetailsModel::ConvCNRRole : ChannelDetailsModel::MerRole, text, false);
}

void ChannelDetailsViewModel::applyAlertSettings(const QString &levelMin, const QString &levelMax, const QString &mer,
                                                 const QString &ber, bool selectedOnly, const QString &hikariMin,
                                                 const QString &hikariMax, const QString &cn)
{
    for (int i = 0; i < editRows.size(); ++i) {
        if (selectedOnly && !editRows.at(i).selected)
            continue;
        setLevelMin(levelMin, i);
        setLevelMax(levelMax, i);
        setHikariLevelMin(hikariMin, i);
        setHikariLevelMax(hikariMax, i);
        if (isLevelOnlyBand(editRows.at(i).BandName))
            continue;
        setBer(ber, i);
        setCnText(cn, i);
        if (editRows.at(i).ConvCNR != NoValue || editRows.at(i).BandName == Optical)
            setMerCn(mer, i);
    }
}

// --- Saving and leaving ---

void ChannelDetailsViewModel::onSaveSignal(bool save)
{
    // A device not applied yet has no device object: its save is the pending pair the
    // apply puts into service.
    if (workingCopyMissing || deviceNo < 1) {
        emit openPopup(PopupNoWorkingCopy);
        return;
    }
    if (!editRows.isEmpty()) {
        if (!save)
            return;
        for (int i = 0; i < editRows.size(); ++i) {
            const ChannelDetailsEditRow before = editRows.at(i);
            const int popup = validateRow(&editRows[i], ofdmMerCnr, catvMerCnr);
            // Normal forms the check wrote stay, on the page too.
            if (editRows.at(i).Mer != before.Mer)
                setRowText(i, ChannelDetailsModel::MerRole, editRows.at(i).Mer, false);
            if (editRows.at(i).Ber != before.Ber)
                setRowText(i, ChannelDetailsModel::BerRole, editRows.at(i).Ber, false);
            if (popup != 0) {
                emit openPopup(popup);
                return;
            }
        }
    }
    applySettings();
}

void ChannelDetailsViewModel::mergeEditsIntoPlan()
{
    int j = 0;
    for (ChannelDetailsEntry &entry : workingPlan) {
        if (j >= measuringRows.size())
            break;
        if (!entry.measuring)
            continue;
        const ChannelDetailsEntry &edited = measuringRows.at(j);
        if (entry.bandTabIndex == BandCatv) {
            entry.broadbandSystem = edited.broadbandSystem;
            entry.frequency = edited.frequency;
        }
        if (entry.bandTabIndex >= BandJcsat3aHorizontal && entry.bandTabIndex <= BandSccCVertical)
            entry.localFrequency = edited.localFrequency;
        entry.powerSupply = edited.powerSupply;
        ++j;
    }
}

void ChannelDetailsViewModel::applySettings()
{
    // The waits below let events through; a save never runs inside another.
    if (applying)
        return;
    const QScopedValueRollback<bool> guard(applying, true);
    logEnter("applySettings");
    mergeEditsIntoPlan();
    if (!saveSettingFiles()) {
        log(QStringLiteral("機器No.%1 の保留設定ファイルを書けません").arg(deviceNo));
        emit openPopup(PopupSaveFailed);
        logLeave("applySettings");
        return;
    }
    ChannelSettingFile::removeCopy(deviceNo, ChannelSettingFile::Copy::Working);

    if (origin == ScreenDeviceSetting) {
        emit dataPassMerCnr(deviceNo, ofdmMerCnr, catvMerCnr, merCnrChanged);
        emit transWindow(QStringLiteral("DeviceSetting.qml"));
    } else if (origin == ScreenMeasurementResult) {
        putIntoService();
    }
    logLeave("applySettings");
}

void ChannelDetailsViewModel::putIntoService()
{
    ApplicationModel *gateOwner = app();
    OperationGate *gate = gateOwner ? gateOwner->operationGate() : nullptr;
    if (!gate) {
        putIntoServiceNow();
        return;
    }
    // The saved pair goes into service after the running apply or readout's end. Once the
    // close has begun it stops the devices itself; the pair is promoted at the next apply.
    const QString waitsFor = QString::fromLatin1(gate->runningName());
    if (gate->enter(this, "details save", [this] { putIntoServiceNow(); }) == OperationGate::Entry::Queued)
        log(QStringLiteral("details save waits for %1").arg(waitsFor.isEmpty() ? QStringLiteral("queued work") : waitsFor));
}

void ChannelDetailsViewModel::putIntoServiceNow()
{
    // Clicks given while the operation runs must not act on the screen it returns to.
    const InputShield inputShield;
    emit openPopup(PopupApplying);
    pauseForPopup(400);

    // Plan and thresholds go into service together or not at all.
    if (!ChannelSettingFile::promotePendingPair(deviceNo)) {
        log(QStringLiteral("機器No.%1 の設定ファイルを置き換えられません").arg(deviceNo));
        emit openPopup(PopupSaveFailed);
        return;
    }
    ApplicationModel *model = app();
    DeviceList *list = model ? model->deviceList() : nullptr;
    LevelChecker *checker = device();
    if (!list || !checker) {
        emit transWindow(QStringLiteral("MeasurementResult.qml"));
        return;
    }
    const int index = deviceNo - 1;
    checker->stopTimer();
    list->stopMeasurementAt(index);
    if (!waitForWorkersToLeave({index})) {
        // The worker may still read the device's lists: they stay as they are, and so does
        // the device, stopped, until the operator saves again or starts it.
        log(QStringLiteral("機器No.%1 の測定ループが終了しないため設定を読み込めません").arg(deviceNo));
        if (checker->measurementState() == int(MeasurementState::Measuring))
            markStopped(checker, deviceNo);
        emit measurementChannelReloading();
        emit openPopup(PopupDeviceNotStopped);
        return;
    }
    checker->setCurrentChannelIndex(LevelChecker::NoChannel);
    const bool planRead = MeasurementChannelSettingFileRead();
    ResultsLogUpdate();
    const bool thresholdsRead = AlertSettingFileRead();
    updateMeasurable();
    checker->setTerrestrialMerCn(MerCnrTable.value(ofdmMerCnr, 0));
    checker->setCatvMerCn(MerCnrTable.value(catvMerCnr, 0));
    emit measurementChannelReloading();

    if (checker->measurementState() == int(MeasurementState::Measuring)) {
        if (checker->channelSettingCount() > 0)
            list->startMonitoringAt(index);
        else
            markStopped(checker, deviceNo);
    }
    if (!planRead || !thresholdsRead) {
        emit openPopup(PopupSaveFailed);
        return;
    }
    emit transWindow(QStringLiteral("MeasurementResult.qml"));
}

bool ChannelDetailsViewModel::saveSettingFiles()
{
    QDir().mkpath(AlertSettingFile::folderPath());
    QDir().mkpath(ChannelSettingFile::folderPath());

    QVector<AlertSettingRow> thresholds;
    for (int i = 0; i < editRows.size(); ++i) {
        ChannelDetailsEditRow &row = editRows[i];
        row.LevelMin = formatThresholdText(numberOf(row.LevelMin));
        row.LevelMax = formatThresholdText(numberOf(row.LevelMax));
        row.Mer = formatThresholdText(numberOf(row.Mer));
        if (!isLevelOnlyBand(row.BandName) && row.Ber != NoValue)
            row.Ber = normalBerText(row.Ber);
        // The page shows what is written, should the screen stay open.
        setRowText(i, ChannelDetailsModel::LevelMinRole, row.LevelMin, false);
        setRowText(i, ChannelDetailsModel::LevelMaxRole, row.LevelMax, false);
        setRowText(i, ChannelDetailsModel::MerRole, row.Mer, false);
        setRowText(i, ChannelDetailsModel::BerRole, row.Ber, false);
        AlertSettingRow line;
        line.bandTabIndex = AlertSettingFile::bandTabIndexOfName(row.BandName);
        line.channel = row.ChannelName;
        line.levelMin = row.LevelMin;
        line.levelMax = row.LevelMax;
        line.merCn = row.Mer;
        line.ber = row.Ber;
        line.hikariLevelMin = row.HikariLevelMin;
        line.hikariLevelMax = row.HikariLevelMax;
        line.convertCnr = row.ConvCNR;
        thresholds.append(line);
    }

    QVector<ChannelSettingEntry> plan;
    for (const ChannelDetailsEntry &entry : qAsConst(workingPlan))
        plan.append(settingOf(entry));
    if (!ChannelSettingFile::writePendingPair(deviceNo, thresholds, plan))
        return false;
    WorkLogEntry entry;
    entry.screenId = ScreenChannelDetails;
    entry.deviceNo = deviceNo;
    writeWorkLog(entry, WorkLogChannelSettingChanged);
    return true;
}

bool ChannelDetailsViewModel::MeasurementChannelSettingFileRead()
{
    logEnter("MeasurementChannelSettingFileRead");
    LevelChecker *checker = device();
    bool ok = true;
    if (checker) {
        // The variants come with the plan, as a restart reads them; a plan that cannot be
        // read leaves the device the plan it has rather than losing every channel.
        if (!DevicePlanLoader::loadPlan(checker, deviceNo, DevicePlanLoader::Naming::EveryPlan)) {
            log(DevicePlanLoader::planErrorText(deviceNo));
            ok = false;
        }
    }
    logLeave("MeasurementChannelSettingFileRead");
    return ok;
}

bool ChannelDetailsViewModel::AlertSettingFileRead()
{
    logEnter("AlertSettingFileRead");
    LevelChecker *checker = device();
    bool ok = true;
    if (checker) {
        if (!DevicePlanLoader::loadThresholds(checker, deviceNo)) {
            log(DevicePlanLoader::thresholdsErrorText(deviceNo));
            ok = false;
        }
    }
    logLeave("AlertSettingFileRead");
    return ok;
}

// The device list's rule: a device without an address is not measurable, whatever its plan.
void ChannelDetailsViewModel::updateMeasurable()
{
    DeviceList::updateMeasurableFlag(device());
}

void ChannelDetailsViewModel::ResultsLogUpdate()
{
    ApplicationModel *model = app();
    DeviceList *list = model ? model->deviceList() : nullptr;
    if (!list)
        return;
    logEnter("ResultsLogUpdate");
    for (int i = 0; i < list->deviceCount(); ++i) {
        if (LevelChecker *checker = list->device(i))
            checker->moveStoredResultsToChannelSettings(model->maxChannelCount());
    }
}

bool ChannelDetailsViewModel::thresholdsChanged() const
{
    for (int i = 0; i < initialRows.size() && i < editRows.size(); ++i) {
        const ChannelDetailsEditRow &a = editRows.at(i);
        const ChannelDetailsEditRow &b = initialRows.at(i);
        // The converted C/N counts too: leaving without asking would lose its edit.
        if (a.Frequencycode != b.Frequencycode || a.Broadband != b.Broadband || a.LocalFrequency != b.LocalFrequency
            || a.PowerSupply != b.PowerSupply || a.LevelMin != b.LevelMin || a.LevelMax != b.LevelMax
            || a.Mer != b.Mer || a.Ber != b.Ber || a.HikariLevelMin != b.HikariLevelMin
            || a.HikariLevelMax != b.HikariLevelMax || a.ConvCNR != b.ConvCNR)
            return true;
    }
    return false;
}

bool ChannelDetailsViewModel::planChanged() const
{
    if (committedPlan.size() != workingPlan.size())
        return true;
    for (int i = 0; i < committedPlan.size(); ++i) {
        const ChannelDetailsEntry &a = workingPlan.at(i);
        const ChannelDetailsEntry &b = committedPlan.at(i);
        if (a.measuring != b.measuring || a.broadbandSystem != b.broadbandSystem
            || a.localFrequency != b.localFrequency || a.frequency != b.frequency || a.powerSupply != b.powerSupply)
            return true;
    }
    return false;
}

void ChannelDetailsViewModel::checkChangeDialog()
{
    logEnter("checkChangeDialog");
    const bool thresholds = thresholdsChanged();
    // A pending pair saved earlier for the device setting apply is lost by leaving for
    // home, so it counts as a change as well.
    const bool pendingPair = ChannelSettingFile::pendingPairExists(deviceNo);
    const bool plan = planChanged() || merCnrChanged || pendingPair;
    if (thresholds || (!returnRequested && plan)) {
        emit openPopup(PopupDiscard);
        pauseForPopup(300);
        return;
    }
    if (returnRequested) {
        emit transWindow(QStringLiteral("ChannelSetting.qml"));
        return;
    }
    removeWorkingFiles();
    emit changeHomeDialog();
}

void ChannelDetailsViewModel::onChangeDestroy()
{
    logEnter("onChangeDestroy");
    if (returnRequested) {
        emit transWindow(QStringLiteral("ChannelSetting.qml"));
    } else {
        removeWorkingFiles();
        emit changeHomeDialog();
    }
    logLeave("onChangeDestroy");
}

void ChannelDetailsViewModel::removeWorkingFiles()
{
    ChannelSettingFile::removeCopy(deviceNo, ChannelSettingFile::Copy::Working);
    ChannelSettingFile::removePendingPair(deviceNo);
}

void ChannelDetailsViewModel::pauseForPopup(int milliseconds)
{
    PlatformSleep::sleepMs(static_cast<unsigned long>(milliseconds));
    // Lets the pop-up show; a click meanwhile must not start a second save.
    QCoreApplication::processEvents(InputShield::waitFlags());
}

LevelChecker *ChannelDetailsViewModel::device() const
{
    ApplicationModel *model = app();
    DeviceList *list = model ? model->deviceList() : nullptr;
    return list ? list->device(deviceNo - 1) : nullptr;
}
