#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QString>
#include <QVector>

// Tells whether files the program holds (daily logs open for appending, a settings file read
// once) may have changed at their paths, without looking each path up again. The kernel
// queues a notice the moment a file is created, deleted, moved or replaced in its folder, or
// that folder or any folder above it is moved or deleted; asking drains that queue with one
// non-blocking read. What sends no notice (a link in the path pointed elsewhere) is left to
// the caller's own path check, for which each watch also answers Maybe once a second.
// One thread only.
class PlatformFileWatch
{
public:
    enum Change {
        None,
        // Nothing was noticed, but the path has not been checked for a second.
        Maybe,
        // A notice named the file or its folder, or nothing can be watched there.
        Changed
    };

    PlatformFileWatch();
    ~PlatformFileWatch();
    PlatformFileWatch(const PlatformFileWatch &) = delete;
    PlatformFileWatch &operator=(const PlatformFileWatch &) = delete;

    // Starts watching the file at path (a local path; the file need not exist, its folder
    // must). contents: also changes of the file's contents and attributes, for files this
    // program only reads. Returns the watch's number, or -1 when the folder cannot be watched:
    // changes(-1) is always Changed.
    int watch(const QString &path, bool contents);
    void unwatch(int id);

    // What happened to the watched file since watch() or the last answer that was not None.
    Change changes(int id);

private:
    struct Watch
    {
        bool used = false;
        int folder = -1;
        QByteArray name;
        // The folders above, each watched for its own move or deletion only.
        QVector<int> above;
        bool changed = false;
        qint64 checkedMs = 0;
    };

    void drain();
    void release(int wd);

    int m_fd = -1;
    QVector<Watch> m_watches;
    // Users of each folder watch of the kernel.
    QHash<int, int> m_folderUsers;
    QElapsedTimer m_clock;
};
