#include "monitor/DailyLogFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

DailyLogFiles::DailyLogFiles(FailureReport report)
    : m_report(std::move(report))
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

bool DailyLogFiles::open(OpenFile &slot, const QString &path, const std::function<QByteArray()> &head)
{
    close(slot);
    slot.path = path;
    auto file = std::make_shared<QFile>(path);
    // A file that cannot be read counts as new, as when each line opened it anew.
    bool isNew = true;
    if (file->open(QIODevice::ReadOnly)) {
        isNew = false;
        file->close();
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
    // Watched before it is opened: a change after the open is then always noticed.
    slot.watch = m_watch.watch(path, false);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    if (isNew) {
        const QByteArray bytes = head();
        if (file->write(bytes) != bytes.size())
            return false;
    }
    slot.identity = PlatformFileIdentity::ofDescriptor(file->handle());
    slot.file = std::move(file);
    return true;
}

void DailyLogFiles::fail(OpenFile &slot, const QString &path)
{
    close(slot);
    if (slot.reportedPath == path)
        return;
    slot.reportedPath = path;
    if (m_report)
        m_report(path);
}

bool DailyLogFiles::append(const QString &path, const std::function<QByteArray()> &head,
                           const QByteArray &bytes)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    OpenFile &slot = m_files[slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : path.left(slash)];
    bool current = slot.file && slot.path == path;
    if (current && m_watch.changes(slot.watch) != PlatformFileWatch::None)
        current = PlatformFileIdentity::ofPath(path).sameFile(slot.identity);
    if (!current && !open(slot, path, head)) {
        fail(slot, path);
        return false;
    }
    if (slot.file->write(bytes) != bytes.size()) {
        fail(slot, path);
        return false;
    }
    return true;
}
