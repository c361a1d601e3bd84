#include "screens/LogPurge.h"

#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "monitor/ResultHistoryLogWriter.h"
#include "monitor/ResultLogWriter.h"
#include "platform/PlatformMemory.h"
#include "screens/WorkLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// Any date names the folder; only the folder part of the writers' paths is used, so the
// purge cleans exactly where the logs are written.
const QDate kAnyDate(2000, 1, 1);

bool isDigits(const QStringRef &text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return !text.isEmpty();
}
} // namespace

QDateTime LogPurge::nextRunTime(const QDateTime &now)
{
    return QDateTime(now.date().addDays(1), QTime(1, 0, 0, 0), now.timeSpec(), now.offsetFromUtc());
}

QDateTime LogPurge::retentionCutoff(const QDateTime &from, int months, int oneYearFlg)
{
    return oneYearFlg == 1 ? from.addYears(-1) : from.addMonths(-months);
}

QDate LogPurge::fileDate(const QString &fileName)
{
    if (!fileName.contains(QStringLiteral(".csv"), Qt::CaseInsensitive) || fileName.size() < 8)
        return QDate();
    const QStringRef digits = fileName.leftRef(8);
    if (!isDigits(digits))
        return QDate();
    return QDate(digits.mid(0, 4).toInt(), digits.mid(4, 2).toInt(), digits.mid(6, 2).toInt());
}

QStringList LogPurge::resultLogFolders(const QString &dataFolder)
{
    QStringList folders;
    for (int n = 1; n <= DeviceFolderCount; ++n)
        folders.append(QFileInfo(ResultLogWriter::resultLogPath(dataFolder, n, kAnyDate)).path());
    return folders;
}

QStringList LogPurge::errorLogFolders(const QString &dataFolder)
{
    QStringList folders;
    for (int n = 1; n <= DeviceFolderCount; ++n)
        folders.append(QFileInfo(ResultLogWriter::errorLogPath(dataFolder, n, kAnyDate)).path());
    return folders;
}

QStringList LogPurge::workLogFolders()
{
    return {WorkLog::folderPath()};
}

QStringList LogPurge::historyLogFolders()
{
    QStringList folders;
    for (int n = 1; n <= DeviceFolderCount; ++n)
        folders.append(QFileInfo(ResultHistoryLogWriter::filePath(n, kAnyDate)).path());
    return folders;
}

int LogPurge::purgeFolder(const QString &folder, const QDateTime &cutoff)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return 0;
    int deleted = 0;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const QDate date = fileDate(name);
        if (!date.isValid())
            continue;
        if (QDateTime(date, QTime(0, 0), cutoff.timeSpec(), cutoff.offsetFromUtc()) < cutoff && QFile::remove(dir.filePath(name)))
            ++deleted;
    }
    return deleted;
}

QDateTime LogPurge::resultCutoff(const QDate &today)
{
    return QDateTime(today.addDays(-KeptResultDays), QTime(0, 0));
}

QDateTime LogPurge::entryDateTime(const QString &text)
{
    if (text.size() < 19)
        return QDateTime();
    const auto field = [&text](int position, int length, bool *ok) {
        const QStringRef part = text.midRef(position, length);
        if (!isDigits(part)) {
            *ok = false;
            return 0;
        }
        return part.toInt();
    };
    bool ok = true;
    const QDate date(field(0, 4, &ok), field(5, 2, &ok), field(8, 2, &ok));
    const QTime time(field(11, 2, &ok), field(14, 2, &ok), field(17, 2, &ok));
    if (!ok || !date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time);
}

int LogPurge::pruneResults(LevelChecker *device, const QDateTime &cutoff)
{
    if (!device)
        return 0;
    int removed = 0;
    const int channels = qMin(device->channelSettingCount(), int(LevelChecker::ChannelSlotCount));
    for (int c = 0; c < channels; ++c)
        removed += device->dropMeasurementHistoryBefore(c, cutoff);
    return removed;
}

int LogPurge::pruneAlertRecords(LevelChecker *device, const QDateTime &cutoff)
{
    if (!device)
        return 0;
    int removed = 0;
    const int channels = qMin(device->channelSettingCount(), int(LevelChecker::ChannelSlotCount));
    for (int c = 0; c < channels; ++c)
        removed += device->dropAlertRecordsBefore(c, cutoff);
    return removed;
}

int LogPurge::pruneDevices(DeviceList *devices, const QDate &today)
{
    if (!devices)
        return 0;
    const QDateTime cutoff = resultCutoff(today);
    int removed = 0;
    for (int i = 0; i < devices->deviceCount(); ++i)
        removed += pruneResults(devices->device(i), cutoff);
    for (int i = 0; i < devices->deviceCount(); ++i)
        removed += pruneAlertRecords(devices->device(i), cutoff);
    PlatformMemory::releaseFreeMemory();
    return removed;
}
