#include "platform/WholeLineAppend.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The length up to and with the last line end, read backwards from the end; 0 when there
// is none. Only reached after a crash, so the cost of the search does not matter.
off_t wholeLinesLength(int descriptor, off_t size)
{
    char block[512];
    off_t end = size;
    while (end > 0) {
        const off_t start = end > off_t(sizeof block) ? end - off_t(sizeof block) : 0;
        const ssize_t got = ::pread(descriptor, block, size_t(end - start), start);
        if (got <= 0)
            return size;
        for (ssize_t i = got - 1; i >= 0; --i) {
            if (block[i] == '\n')
                return start + i + 1;
        }
        end = start;
    }
    return 0;
}

// Whether the file's first lines hold as many line ends as the head: a file cut within its
// head lines starts again rather than go on without a whole head.
bool holdsWholeHead(int descriptor, off_t size, const QByteArray &head)
{
    const int headLines = head.count('\n');
    if (headLines == 0)
        return true;
    QByteArray start(int(qMin<off_t>(size, off_t(head.size()) * 4 + 4096)), Qt::Uninitialized);
    const ssize_t got = ::pread(descriptor, start.data(), size_t(start.size()), 0);
    return got > 0 && start.left(int(got)).count('\n') >= headLines;
}
} // namespace

bool WholeLineAppend::append(int descriptor, const std::function<QByteArray()> &head,
                             const QByteArray &bytes, QString *reason, qint64 *length)
{
    const qint64 knownLength = length ? *length : -1;
    const bool known = knownLength >= 0;
    if (length)
        *length = -1;
    struct stat st {};
    if (descriptor < 0 || (!known && ::fstat(descriptor, &st) != 0)) {
        if (reason)
            *reason = errorText(descriptor < 0 ? EBADF : errno);
        return false;
    }
    off_t size = known ? off_t(knownLength) : st.st_size;
    if (!known && size > 0) {
        char last = '\n';
        // A descriptor opened for writing only cannot tell; it is trusted then.
        if (::pread(descriptor, &last, 1, size - 1) == 1 && last != '\n') {
            off_t whole = wholeLinesLength(descriptor, size);
            if (whole > 0 && head && !holdsWholeHead(descriptor, whole, head()))
                whole = 0;
            if (::ftruncate(descriptor, whole) != 0) {
                if (reason)
                    *reason = errorText(errno);
                return false;
            }
            size = whole;
        }
    }
    const QByteArray all = size == 0 && head ? head() + bytes : bytes;
    const char *data = all.constData();
    qint64 left = all.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : ENOSPC;
            // Cutting back needs no room; should it fail all the same, the next append
            // finds the fragment by its missing line end and cuts it then.
            const bool cut = ::ftruncate(descriptor, size) == 0;
            Q_UNUSED(cut)
            if (reason)
                *reason = errorText(error);
            return false;
        }
        data += written;
        left -= written;
    }
    if (length)
        *length = qint64(size) + all.size();
    return true;
}

bool WholeLineAppend::appendToPath(const QString &path, const std::function<QByteArray()> &head,
                                   const QByteArray &bytes, QString *reason)
{
    const QByteArray name = QFile::encodeName(path);
    int descriptor = ::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0)
        descriptor = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        if (reason)
            *reason = errorText(errno);
        return false;
    }
    const bool written = append(descriptor, head, bytes, reason);
    ::close(descriptor);
    return written;
}
