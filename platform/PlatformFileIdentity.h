#pragma once

#include <QString>

#include <cstdint>

// Which file a path or an open descriptor names, and its state, to tell cheaply whether a
// file changed on disk or whether a path still leads to a file held open.
struct PlatformFileIdentity
{
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    static PlatformFileIdentity ofPath(const QString &path);
    static PlatformFileIdentity ofDescriptor(int descriptor);

    // The same file (device and inode) at both, both existing.
    bool sameFile(const PlatformFileIdentity &other) const;
    // The same file, unchanged since.
    bool operator==(const PlatformFileIdentity &other) const;
    bool operator!=(const PlatformFileIdentity &other) const { return !(*this == other); }
};
