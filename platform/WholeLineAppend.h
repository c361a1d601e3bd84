#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Appends to a line-oriented file so that it only ever ends in whole lines: what a short or
// failed write (a full disk, a file size limit) leaves of the bytes is cut off again, so the
// next append never glues its line onto a fragment. An empty file is new: it gets its head
// in the same write as its first line, so a head is never followed by a line unless whole.
// A file that does not end in a line end (left so by a crash) loses its cut last line
// before anything is added, and starts again when what is left has fewer lines than the
// head.
class WholeLineAppend
{
public:
    // Appends head() (only when the file is empty) and bytes at the end of the open file.
    // The descriptor should be open for reading too, or a cut last line goes unnoticed.
    // True when all was written; false leaves the file as long as it was, reason saying why.
    // length: the file's length when the caller knows it from its own last append (the
    // file then ends in a whole line), which spares looking; -1 when not known. It is
    // set to the length after the append, or to -1 when the append failed.
    static bool append(int descriptor, const std::function<QByteArray()> &head,
                       const QByteArray &bytes, QString *reason = nullptr, qint64 *length = nullptr);

    // The same for a path: the file is created when missing, opened and closed again.
    static bool appendToPath(const QString &path, const std::function<QByteArray()> &head,
                             const QByteArray &bytes, QString *reason = nullptr);
};
