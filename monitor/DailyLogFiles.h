#pragma once

#include "platform/AppendLossEpisodes.h"
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
    // Told, per file, when its appends begin to fail (with the reason) and when they work
    // again (with the number of lines lost in between).
    explicit DailyLogFiles(AppendLossEpisodes::Report report = AppendLossEpisodes::Report());
    ~DailyLogFiles();
    DailyLogFiles(const DailyLogFiles &) = delete;
    DailyLogFiles &operator=(const DailyLogFiles &) = delete;

    // Appends bytes (holding their line ends) to the file at path, making its folder when
    // missing and writing the head bytes first when the file is new (empty). Whole or not at
    // all: false when the file cannot be opened for appending or not all was written, and
    // the file is left as it was; the next append tries again.
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
        // The file's length after the last append through it, -1 when not known: only
        // this program appends to its logs, so a file once checked need not be again.
        qint64 length = -1;
    };

    bool open(OpenFile &slot, const QString &path, QString *reason);
    void fail(OpenFile &slot, const QString &path, const QString &reason, const QByteArray &bytes);

    void close(OpenFile &slot);

    QHash<QString, OpenFile> m_files;
    AppendLossEpisodes m_episodes;
    PlatformFileWatch m_watch;
};
