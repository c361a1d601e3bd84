#include "platform/PlatformFileIdentity.h"

#include <QFile>

#include <sys/stat.h>

namespace {
PlatformFileIdentity fromStat(const struct stat &st)
{
    PlatformFileIdentity id;
    id.exists = true;
    id.device = std::uint64_t(st.st_dev);
    id.inode = std::uint64_t(st.st_ino);
    id.size = std::int64_t(st.st_size);
    id.modifiedNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    id.changedNs = std::int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return id;
}
} // namespace

PlatformFileIdentity PlatformFileIdentity::ofPath(const QString &path)
{
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || ::stat(name.constData(), &st) != 0)
        return PlatformFileIdentity();
    return fromStat(st);
}

PlatformFileIdentity PlatformFileIdentity::ofDescriptor(int descriptor)
{
    struct stat st {};
    if (descriptor < 0 || ::fstat(descriptor, &st) != 0)
        return PlatformFileIdentity();
    return fromStat(st);
}

bool PlatformFileIdentity::sameFile(const PlatformFileIdentity &other) const
{
    return exists && other.exists && device == other.device && inode == other.inode;
}

bool PlatformFileIdentity::operator==(const PlatformFileIdentity &other) const
{
    return exists == other.exists && device == other.device && inode == other.inode
           && size == other.size && modifiedNs == other.modifiedNs && changedNs == other.changedNs;
}
