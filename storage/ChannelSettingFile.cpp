#include "storage/ChannelSettingFile.h"

#include "core/SharedTypes.h"
#include "monitor/LevelChecker.h"
#include "platform/PlatformPaths.h"
#include "storage/AlertSettingFile.h"
#include "storage/SettingFileText.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <limits>

namespace {

constexpr int PlanFieldCount = 7;

// Calls row(fields) for every row after the header: lines of fewer than 7 fields do not
// count, the first one that does is the header.
template <typename RowFunction>
void forEachPlanRow(const QStringList &lines, RowFunction row)
{
    bool headerSeen = false;
    for (const QString &line : lines) {
        const QStringList fields = line.split(QLatin1Char(','));
        if (fields.size() < PlanFieldCount)
            continue;
        if (!headerSeen) {
            headerSeen = true;
            continue;
        }
        row(fields);
    }
}

// The frequency the device is to use: the file's frequency minus the local oscillator,
// 0 when the difference is out of range.
int deviceFrequency(const QString &frequencyText, const QString &localText)
{
    const qint64 value = qint64(SettingFileText::toInt(frequencyText))
                         - qint64(SettingFileText::toInt(localText));
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return 0;
    return static_cast<int>(value);
}

// A file's bytes before it is replaced, to put it back when a later step fails.
struct FileBefore {
    QString path;
    bool existed = false;
    QByteArray bytes;

    static FileBefore of(const QString &path)
    {
        FileBefore before;
        before.path = path;
        QFile file(path);
        if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly)) {
            before.existed = true;
            before.bytes = file.readAll();
        }
        return before;
    }

    bool restore() const
    {
        return existed ? SettingFileText::writeAtomically(path, bytes) : SettingFileText::removeFile(path);
    }
};

} // namespace

QString ChannelSettingFile::folderPath()
{
    return PlatformPaths::toLocal(QStringLiteral(
        "C:\\VELMORA\\NRT52\\InternalReadOnly\\CheckerSettings\\MeasurementChannelSetting"));
}

QString ChannelSettingFile::fileName(int deviceNo, Copy copy)
{
    switch (copy) {
    case Copy::Working:
        return QStringLiteral("%1_sub.csv").arg(deviceNo);
    case Copy::Pending:
        return QStringLiteral("%1_new.csv").arg(deviceNo);
    case Copy::Committed:
        break;
    }
    return QStringLiteral("%1.csv").arg(deviceNo);
}

QString ChannelSettingFile::filePath(int deviceNo, Copy copy)
{
    return folderPath() + QLatin1Char('/') + fileName(deviceNo, copy);
}

QString ChannelSettingFile::templatePath()
{
    return PlatformPaths::toLocal(QStringLiteral(
        "C:\\VELMORA\\NRT52\\InternalReadOnly\\CheckerSettings\\MeasurementChannelSetting\\"
        "user_datalogger_setting_template.csv"));
}

QString ChannelSettingFile::headerLine()
{
    return QStringLiteral("'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,"
                          "localFrequency[KHz],powerSupply,measuring");
}

ChannelSettingFile::EditSources ChannelSettingFile::editSources(int deviceNo)
{
    EditSources sources;
    const bool working = exists(deviceNo, Copy::Working);
    const bool pending = exists(deviceNo, Copy::Pending);
    const bool committed = exists(deviceNo, Copy::Committed);
    if (working) {
        sources.editedPath = filePath(deviceNo, Copy::Working);
        if (committed)
            sources.comparedPath = filePath(deviceNo, Copy::Committed);
        else if (pending)
            sources.comparedPath = filePath(deviceNo, Copy::Pending);
    } else if (pending) {
        sources.editedPath = filePath(deviceNo, Copy::Pending);
        if (committed)
            sources.comparedPath = filePath(deviceNo, Copy::Committed);
    } else if (committed) {
        sources.editedPath = filePath(deviceNo, Copy::Committed);
    } else {
        sources.editedPath = templatePath();
    }
    return sources;
}

bool ChannelSettingFile::plansDiffer(const QVector<ChannelSettingEntry> &a, const QVector<ChannelSettingEntry> &b)
{
    // A copied plan may be shorter: a missing row is a change, never a read past the end.
    if (a.size() != b.size())
        return true;
    for (int i = 0; i < a.size(); ++i) {
        const ChannelSettingEntry &x = a.at(i);
        const ChannelSettingEntry &y = b.at(i);
        if (x.measuring != y.measuring || x.localFrequency != y.localFrequency || x.frequency != y.frequency)
            return true;
    }
    return false;
}

bool ChannelSettingFile::exists(int deviceNo, Copy copy)
{
    return QFileInfo(filePath(deviceNo, copy)).isFile();
}

bool ChannelSettingFile::removeCopy(int deviceNo, Copy copy)
{
    return SettingFileText::removeFile(filePath(deviceNo, copy));
}

bool ChannelSettingFile::pendingPairExists(int deviceNo)
{
    return exists(deviceNo, Copy::Pending) || AlertSettingFile::exists(deviceNo, AlertSettingFile::Copy::Pending);
}

void ChannelSettingFile::removePendingPair(int deviceNo)
{
    removeCopy(deviceNo, Copy::Pending);
    AlertSettingFile::removeCopy(deviceNo, AlertSettingFile::Copy::Pending);
}

bool ChannelSettingFile::read(const QString &path, QVector<ChannelSettingEntry> *rows)
{
    rows->clear();
    QStringList lines;
    if (!SettingFileText::readLines(path, &lines))
        return false;
    forEachPlanRow(lines, [rows](const QStringList &fields) {
        ChannelSettingEntry entry;
        entry.bandTabIndex = SettingFileText::toInt(fields.at(0));
        entry.channel = fields.at(1);
        entry.frequency = fields.at(2);
        entry.broadbandSystem = SettingFileText::toInt(fields.at(3));
        entry.localFrequency = SettingFileText::toInt(fields.at(4));
        entry.powerSupply = SettingFileText::toInt(fields.at(5));
        entry.measuring = SettingFileText::toInt(fields.at(6)) != 0;
        rows->append(entry);
    });
    return true;
}

bool ChannelSettingFile::readMeasured(const QString &path, MeasuredChannelPlan *plan)
{
    *plan = MeasuredChannelPlan();
    QStringList lines;
    if (!SettingFileText::readLines(path, &lines))
        return false;
    forEachPlanRow(lines, [plan](const QStringList &fields) {
        if (fields.at(6) == QLatin1String("0"))
            return;
        ChannelSettingRow row;
        row.bandTabIndex = SettingFileText::toInt(fields.at(0));
        row.channel = fields.at(1);
        row.frequency = deviceFrequency(fields.at(2), fields.at(4));
        row.broadbandSystem = fields.at(3);
        row.localFrequency = SettingFileText::toInt(fields.at(4));
        row.powerSupply = SettingFileText::toInt(fields.at(5));
        plan->channels.append(row);

        if (row.bandTabIndex == BandCatv)
            noteCatvVariant(row.channel, QString::number(row.frequency), &plan->c24FrequencyType,
                            &plan->ch8FrequencyType);
    });
    return true;
}

void ChannelSettingFile::noteCatvVariant(const QString &channel, const QString &frequencyText, int *c24, int *ch8)
{
    if (channel == QLatin1String("C24")) {
        if (frequencyText.startsWith(QLatin1String("231")))
            *c24 = 0;
        else if (frequencyText.startsWith(QLatin1String("233")))
            *c24 = 1;
    } else if (channel == QLatin1String("8")) {
        if (frequencyText.startsWith(QLatin1String("195")))
            *ch8 = 0;
        else if (frequencyText.startsWith(QLatin1String("191")))
            *ch8 = 1;
    }
}

QByteArray ChannelSettingFile::fileContent(const QVector<ChannelSettingEntry> &rows)
{
    QString text = headerLine() + QLatin1Char('\n');
    for (const ChannelSettingEntry &entry : rows) {
        const QStringList fields {
            QString::number(entry.bandTabIndex),
            entry.channel,
            entry.frequency,
            QString::number(entry.broadbandSystem),
            QString::number(entry.localFrequency),
            QString::number(entry.powerSupply),
            entry.measuring ? QStringLiteral("1") : QStringLiteral("0"),
        };
        text += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

bool ChannelSettingFile::write(const QString &path, const QVector<ChannelSettingEntry> &rows)
{
    return SettingFileText::writeAtomically(path, fileContent(rows));
}

bool ChannelSettingFile::promote(int deviceNo)
{
    return SettingFileText::promote(filePath(deviceNo, Copy::Pending),
                                    filePath(deviceNo, Copy::Committed));
}

bool ChannelSettingFile::writePendingPair(int deviceNo, const QVector<AlertSettingRow> &thresholds,
                                          const QVector<ChannelSettingEntry> &plan)
{
    const QString thresholdsPath = AlertSettingFile::filePath(deviceNo, AlertSettingFile::Copy::Pending);
    const FileBefore thresholdsBefore = FileBefore::of(thresholdsPath);
    if (!AlertSettingFile::write(thresholdsPath, thresholds))
        return false;
    if (write(filePath(deviceNo, Copy::Pending), plan))
        return true;
    thresholdsBefore.restore();
    return false;
}

bool ChannelSettingFile::promotePendingPair(int deviceNo)
{
    const FileBefore committedBefore = FileBefore::of(AlertSettingFile::filePath(deviceNo));
    const FileBefore pendingBefore =
        FileBefore::of(AlertSettingFile::filePath(deviceNo, AlertSettingFile::Copy::Pending));
    if (!AlertSettingFile::promote(deviceNo))
        return false;
    if (promote(deviceNo))
        return true;
    committedBefore.restore();
    pendingBefore.restore();
    return false;
}

ChannelSettingFile::Leftover ChannelSettingFile::settleLeftover(int deviceNo)
{
    const bool plan = exists(deviceNo, Copy::Pending);
    const bool thresholds = AlertSettingFile::exists(deviceNo, AlertSettingFile::Copy::Pending);
    if (!plan && !thresholds)
        return Leftover::None;
    if (plan && !thresholds)
        return promote(deviceNo) ? Leftover::PromotionCompleted : Leftover::Failed;
    removePendingPair(deviceNo);
    return pendingPairExists(deviceNo) ? Leftover::Failed : Leftover::PairRemoved;
}

bool ChannelSettingFile::loadCommitted(LevelChecker *device, int deviceNo, MeasuredChannelPlan *plan)
{
    MeasuredChannelPlan read;
    if (!device || !readMeasured(filePath(deviceNo), &read))
        return false;
    applyTo(device, read);
    if (plan)
        *plan = read;
    return true;
}

void ChannelSettingFile::applyTo(LevelChecker *device, const MeasuredChannelPlan &plan)
{
    if (!device)
        return;
    device->replaceChannelSettings(plan.channels);
    device->clearLatestResults();
    for (const ChannelSettingRow &row : plan.channels) {
        // Until the first result arrives the channel shows "---".
        ChannelResultRow result;
        result.bandTabIndex = row.bandTabIndex;
        result.channel = row.channel;
        result.level = QStringLiteral("---");
        result.merCn = QStringLiteral("---");
        result.ber = QStringLiteral("---");
        device->addLatestResult(result);
    }
    device->setC24FrequencyType(plan.c24FrequencyType);
    device->setCh8FrequencyType(plan.ch8FrequencyType);
}
