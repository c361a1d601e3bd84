#pragma once

#include "platform/PlatformFileIdentity.h"
#include "platform/PlatformFileWatch.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>

class QFile;

// The daily log files being written, held open per folder (one folder per device and kind of
// log) between lines. Each line is written through to the file at once. A file is closed and
// the day's file opened when the day's name changes, and opened again when its path no
// longer leads to the open file (deleted, moved or replaced), so no line goes to a file
// that left its place. Whether the path still leads there is learnt from the file system's
// change notices, and checked by the path itself only after a notice, when no notice can be
// had, or at most once a second (for a rename further up the path). One thread only.
class DailyLogFiles
{
public:
    // Called once per file name whose appends fail, at the first failure; a later failure
    // of the same file is not reported again.
    using FailureReport = std::function<void(const QString &path)>;

    explicit DailyLogFiles(FailureReport report = FailureReport());
    ~DailyLogFiles();
    DailyLogFiles(const DailyLogFiles &) = delete;
    DailyLogFiles &operator=(const DailyLogFiles &) = delete;

    // Appends bytes (holding their line ends) to the file at path, making its folder when
    // missing and writing the head bytes first when the file is new. False when the file
    // cannot be opened for appending or not all was written; the next append tries again.
    bool append(const QString &path, const std::function<QByteArray()> &head, const QByteArray &bytes);

    void closeAll();
    int openCount() const;

private:
    struct OpenFile
    {
        QString path;
        // Shared only so that the slot can live in a QHash; never handed out.
        std::shared_ptr<QFile> file;
        PlatformFileIdentity identity;
        // The change watch of the path, -1 for none.
        int watch = -1;
        // The path whose failure was reported last.
        QString reportedPath;
    };

    bool open(OpenFile &slot, const QString &path, const std::function<QByteArray()> &head);
    void fail(OpenFile &slot, const QString &path);

    void close(OpenFile &slot);

    QHash<QString, OpenFile> m_files;
    FailureReport m_report;
    PlatformFileWatch m_watch;
};
