#include "monitor/DailyLogFiles.h"

#include "platform/WholeLineAppend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

DailyLogFiles::DailyLogFiles(AppendLossEpisodes::Report report)
    : m_episodes(std::move(report))
{
}

DailyLogFiles::~DailyLogFiles()
{
    closeAll();
}

void DailyLogFiles::closeAll()
{
    for (OpenFile &slot : m_files)
        close(slot);
    m_files.clear();
}

void DailyLogFiles::close(OpenFile &slot)
{
    slot.file.reset();
    m_watch.unwatch(slot.watch);
    slot.watch = -1;
}

int DailyLogFiles::openCount() const
{
    int count = 0;
    for (const OpenFile &slot : m_files) {
        if (slot.file && slot.file->isOpen())
            ++count;
    }
    return count;
}

bool DailyLogFiles::open(OpenFile &slot, const QString &path, QString *reason)
{
    close(slot);
    slot.path = path;
    slot.length = -1;
    auto file = std::make_shared<QFile>(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
    // Watched before it is opened: a change after the open is then always noticed.
    slot.watch = m_watch.watch(path, false);
    // Open for reading too, so that a line cut by a crash is found at the end of the file.
    if (!file->open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)
        && !file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        *reason = file->errorString();
        return false;
    }
    slot.identity = PlatformFileIdentity::ofDescriptor(file->handle());
    slot.file = std::move(file);
    return true;
}

void DailyLogFiles::fail(OpenFile &slot, const QString &path, const QString &reason, const QByteArray &bytes)
{
    close(slot);
    m_episodes.lost(path, reason, qMax(1, bytes.count('\n')));
}

bool DailyLogFiles::append(const QString &path, const std::function<QByteArray()> &head,
                           const QByteArray &bytes)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    OpenFile &slot = m_files[slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : path.left(slash)];
    bool current = slot.file && slot.path == path;
    if (current && m_watch.changes(slot.watch) != PlatformFileWatch::None)
        current = PlatformFileIdentity::ofPath(path).sameFile(slot.identity);
    QString reason;
    if ((!current && !open(slot, path, &reason))
        || !WholeLineAppend::append(slot.file->handle(), head, bytes, &reason, &slot.length)) {
        fail(slot, path, reason, bytes);
        return false;
    }
    m_episodes.written(path);
    return true;
}
