#include "platform/PlatformFileWatch.h"

#include <QFile>

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {
constexpr qint64 PathCheckMs = 1000;
// Entries of the folder that concern a file in it, and the folder's own end.
constexpr uint32_t FolderEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF
                                  | IN_MOVE_SELF | IN_ONLYDIR | IN_MASK_ADD;
constexpr uint32_t ContentEvents = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB;
constexpr uint32_t AboveEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_MASK_ADD;
constexpr uint32_t FolderGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT;
} // namespace

PlatformFileWatch::PlatformFileWatch()
    : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    m_clock.start();
}

PlatformFileWatch::~PlatformFileWatch()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int PlatformFileWatch::watch(const QString &path, bool contents)
{
    if (m_fd < 0)
        return -1;
    const QByteArray local = QFile::encodeName(path);
    const int slash = local.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : local.left(slash);
    const QByteArray name = local.mid(slash + 1);
    if (name.isEmpty())
        return -1;
    const int wd = inotify_add_watch(m_fd, folder.constData(), FolderEvents | (contents ? ContentEvents : 0));
    if (wd < 0)
        return -1;
    ++m_folderUsers[wd];
    QVector<int> above;
    for (QByteArray up = folder; up.size() > 1;) {
        const int cut = up.lastIndexOf('/');
        if (cut < 0)
            break;
        up = cut == 0 ? QByteArray("/") : up.left(cut);
        const int upWd = inotify_add_watch(m_fd, up.constData(), AboveEvents);
        if (upWd < 0) {
            // Unwatchable further up: such a path is looked up each time instead.
            for (int taken : qAsConst(above))
                release(taken);
            release(wd);
            return -1;
        }
        ++m_folderUsers[upWd];
        above.append(upWd);
    }
    // Notices queued before the watch was (re)made are not about this file's new state.
    drain();
    int id = 0;
    while (id < m_watches.size() && m_watches.at(id).used)
        ++id;
    if (id == m_watches.size())
        m_watches.append(Watch());
    Watch &w = m_watches[id];
    w.used = true;
    w.folder = wd;
    w.name = name;
    w.above = above;
    w.changed = false;
    w.checkedMs = m_clock.elapsed();
    return id;
}

void PlatformFileWatch::unwatch(int id)
{
    if (id < 0 || id >= m_watches.size() || !m_watches.at(id).used)
        return;
    Watch &w = m_watches[id];
    w.used = false;
    release(w.folder);
    for (int wd : qAsConst(w.above))
        release(wd);
    w.folder = -1;
    w.name.clear();
    w.above.clear();
}

void PlatformFileWatch::release(int wd)
{
    const auto users = m_folderUsers.find(wd);
    if (users != m_folderUsers.end() && --users.value() <= 0) {
        m_folderUsers.erase(users);
        // Fails harmlessly for a folder the kernel dropped already.
        inotify_rm_watch(m_fd, wd);
    }
}

void PlatformFileWatch::drain()
{
    alignas(struct inotify_event) char buffer[16 * (sizeof(struct inotify_event) + NAME_MAX + 1)];
    for (;;) {
        const ssize_t length = ::read(m_fd, buffer, sizeof buffer);
        if (length <= 0) {
            // EAGAIN: nothing more queued. Any other failure leaves nothing known: treat
            // every file as changed.
            if (length < 0 && errno != EAGAIN && errno != EINTR) {
                for (Watch &w : m_watches)
                    w.changed = true;
            }
            if (length < 0 && errno == EINTR)
                continue;
            return;
        }
        for (ssize_t at = 0; at < length;) {
            const auto *event = reinterpret_cast<const struct inotify_event *>(buffer + at);
            at += ssize_t(sizeof(struct inotify_event) + event->len);
            const bool overflow = event->mask & IN_Q_OVERFLOW;
            const bool folderGone = event->mask & FolderGone;
            const char *name = event->len > 0 ? event->name : "";
            for (Watch &w : m_watches) {
                if (!w.used || w.changed)
                    continue;
                if (overflow || (w.folder == event->wd && (folderGone || w.name == name))
                    || (folderGone && w.above.contains(event->wd)))
                    w.changed = true;
            }
        }
    }
}

PlatformFileWatch::Change PlatformFileWatch::changes(int id)
{
    if (id < 0 || id >= m_watches.size() || !m_watches.at(id).used)
        return Changed;
    drain();
    Watch &w = m_watches[id];
    const qint64 now = m_clock.elapsed();
    if (w.changed) {
        w.changed = false;
        w.checkedMs = now;
        return Changed;
    }
    if (now - w.checkedMs >= PathCheckMs) {
        w.checkedMs = now;
        return Maybe;
    }
    return None;
}
