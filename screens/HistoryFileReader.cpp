#include "screens/HistoryFileReader.h"

#include "platform/PlatformPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

namespace {

// A data line has 18 fields (16 in the older layout without the optical level); lines of
// fewer than 15 are no data, and no field after the 18th is read.
constexpr int kMinimumFields = 15;
constexpr int kReadFields = 18;
constexpr qint64 kBlockSize = 1024 * 1024;
constexpr int kMaximumReaders = 8;

const char *findBytes(const char *begin, const char *end, const QByteArray &needle)
{
#if defined(__GLIBC__)
    return static_cast<const char *>(
        memmem(begin, static_cast<size_t>(end - begin), needle.constData(), static_cast<size_t>(needle.size())));
#else
    const char *hit = std::search(begin, end, std::boyer_moore_horspool_searcher<const char *>(
                                                  needle.constData(), needle.constData() + needle.size()));
    return hit == end ? nullptr : hit;
#endif
}

const char *findByte(const char *begin, const char *end, char byte)
{
    return static_cast<const char *>(memchr(begin, byte, static_cast<size_t>(end - begin)));
}

bool equalBytes(const char *begin, const char *end, const QByteArray &bytes)
{
    return end - begin == bytes.size() && memcmp(begin, bytes.constData(), static_cast<size_t>(bytes.size())) == 0;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// A verdict column read as a decimal integer, as QString::toInt reads it (blanks around it,
// an optional sign; outside the range of an int it is no number); true when it is a number
// other than 0.
bool verdict(const char *begin, const char *end)
{
    while (begin < end && isBlank(*begin))
        ++begin;
    while (end > begin && isBlank(end[-1]))
        --end;
    bool negative = false;
    if (begin < end && (*begin == '+' || *begin == '-')) {
        negative = *begin == '-';
        ++begin;
    }
    if (begin == end)
        return false;
    qint64 value = 0;
    for (const char *p = begin; p < end; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        value = value * 10 + (*p - '0');
        if (value > qint64(1) << 31)
            return false;
    }
    if (!negative && value > std::numeric_limits<int>::max())
        return false;
    return value != 0;
}

// Splits a line at every ","; the bounds of the first kReadFields fields go to starts and
// ends. Returns the number of fields.
int splitFields(const char *begin, const char *end, const char *starts[], const char *ends[])
{
    int count = 0;
    const char *field = begin;
    for (;;) {
        const char *comma = findByte(field, end, ',');
        const char *fieldEnd = comma ? comma : end;
        if (count < kReadFields) {
            starts[count] = field;
            ends[count] = fieldEnd;
        }
        ++count;
        if (!comma)
            return count;
        field = comma + 1;
    }
}

} // namespace

// The texts of consecutive rows repeat (modulation, layer, verdict-free columns, often the
// values): a row takes the previous row's string when the bytes are the same, so the rows of
// a year share their repeated texts instead of holding a copy each.
class HistoryFileReader::FieldCache
{
public:
    QString text(int column, const char *begin, const char *end)
    {
        Entry &entry = m_entries[column];
        const size_t size = static_cast<size_t>(end - begin);
        if (entry.valid && entry.bytes.size() == size && memcmp(entry.bytes.data(), begin, size) == 0)
            return entry.text;
        entry.bytes.assign(begin, size);
        entry.text = QString::fromUtf8(begin, static_cast<int>(size));
        entry.valid = true;
        return entry.text;
    }

    // The date of the last row, to add each date to the list once without searching it.
    std::string lastDate;
    bool hasLastDate = false;

private:
    struct Entry
    {
        std::string bytes;
        QString text;
        bool valid = false;
    };
    Entry m_entries[kReadFields];
};

HistoryFileReader::HistoryFileReader(const QString &bandText, const QString &channel)
    : m_band(bandText.toUtf8())
    , m_channel(channel.toUtf8())
    , m_needle(',' + channel.toUtf8() + ',')
{
}

QString HistoryFileReader::deviceFolder(int deviceNo)
{
    const QString root = PlatformPaths::toLocal(QStringLiteral("C:\\VELMORA\\NRT52\\InternalReadOnly\\INDIVIDUAL_LOG"));
    // The listing's default filter and order: all entries, by name without regard to case.
    const QFileInfoList entries = QDir(root).entryInfoList();
    const QString marker = QStringLiteral("機器No");
    for (const QFileInfo &entry : entries) {
        // The name, not the full path, is searched: a root folder whose own path holds the
        // marker must not decide the number.
        const QString name = entry.fileName();
        const int at = name.indexOf(marker, 0, Qt::CaseInsensitive);
        if (at < 0)
            continue;
        bool ok = false;
        const int number = name.mid(at + marker.size()).toInt(&ok);
        if (ok && number == deviceNo && entry.isDir())
            return entry.filePath();
    }
    return QString();
}

HistoryFileReader::Result HistoryFileReader::readDevice(int deviceNo) const
{
    Result result;
    const QString folder = deviceFolder(deviceNo);
    if (folder.isEmpty())
        return result;

    // Names are dates "yyyyMMdd", so the listing by name is oldest first.
    const QFileInfoList entries = QDir(folder).entryInfoList();
    QVector<int> positions;
    QStringList paths;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).fileName().contains(QLatin1String("csv"), Qt::CaseInsensitive)) {
            positions.append(i + 1);
            paths.append(entries.at(i).filePath());
        }
    }

    struct FileRows
    {
        QVector<IndividualResultListRow> rows;
        QStringList dates;
        bool opened = false;
    };
    std::vector<FileRows> files(static_cast<size_t>(paths.size()));

    std::atomic<int> next { 0 };
    const auto work = [&]() {
        for (int i = next.fetch_add(1); i < paths.size(); i = next.fetch_add(1)) {
            FileRows &file = files[static_cast<size_t>(i)];
            file.opened = readFile(paths.at(i), &file.rows, &file.dates);
        }
    };
    const int hardware = static_cast<int>(std::thread::hardware_concurrency());
    const int readers = std::min({std::max(hardware, 1), kMaximumReaders, static_cast<int>(paths.size())});
    if (readers <= 1) {
        work();
    } else {
        std::vector<std::thread> threads;
        threads.reserve(static_cast<size_t>(readers - 1));
        for (int i = 1; i < readers; ++i)
            threads.emplace_back(work);
        work();
        for (std::thread &thread : threads)
            thread.join();
    }

    int total = 0;
    for (const FileRows &file : files)
        total += file.rows.size();
    result.rows.reserve(total);
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        for (int i = file->rows.size() - 1; i >= 0; --i)
            result.rows.append(std::move(file->rows[i]));
        file->rows.clear();
    }
    QSet<QString> seen;
    for (size_t i = 0; i < files.size(); ++i) {
        if (!files[i].opened)
            result.unreadableFiles.append(positions.at(static_cast<int>(i)));
        for (const QString &date : qAsConst(files[i].dates)) {
            if (!seen.contains(date)) {
                seen.insert(date);
                result.dates.append(date);
            }
        }
    }
    return result;
}

bool HistoryFileReader::readFile(const QString &path, QVector<IndividualResultListRow> *rows,
                                 QStringList *dates) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;

    std::vector<char> buffer(static_cast<size_t>(kBlockSize));
    FieldCache cache;
    bool headerSeen = false;
    size_t kept = 0;
    for (;;) {
        if (kept == buffer.size())
            buffer.resize(buffer.size() * 2); // one line longer than a block
        const qint64 got = file.read(buffer.data() + kept, static_cast<qint64>(buffer.size() - kept));
        const bool atEnd = got <= 0;
        const size_t length = kept + (atEnd ? 0 : static_cast<size_t>(got));
        const char *begin = buffer.data();
        const char *end = begin + length;
        // Whole lines only; at the end of the file the last line needs no line end.
        const char *limit = end;
        if (!atEnd) {
            const char *lastBreak = begin + length;
            while (lastBreak > begin && lastBreak[-1] != '\n')
                --lastBreak;
            limit = lastBreak;
        }
        if (limit > begin)
            scanRegion(begin, limit, &headerSeen, rows, dates, &cache);
        if (atEnd)
            break;
        kept = static_cast<size_t>(end - limit);
        if (kept > 0 && limit > begin)
            memmove(buffer.data(), limit, kept);
    }
    return true;
}

void HistoryFileReader::scanRegion(const char *begin, const char *end, bool *headerSeen,
                                   QVector<IndividualResultListRow> *rows, QStringList *dates,
                                   FieldCache *cache) const
{
    const char *position = begin;
    // The first line of the file with at least 15 fields is its header.
    while (!*headerSeen && position < end) {
        const char *lineEnd = findByte(position, end, '\n');
        if (!lineEnd)
            lineEnd = end;
        *headerSeen = std::count(position, lineEnd, ',') >= kMinimumFields - 1;
        position = lineEnd < end ? lineEnd + 1 : end;
    }

    while (position < end) {
        const char *hit = findBytes(position, end, m_needle);
        if (!hit)
            break;
        const char *lineStart = hit;
        while (lineStart > position && lineStart[-1] != '\n')
            --lineStart;
        const char *lineBreak = findByte(hit, end, '\n');
        if (!lineBreak)
            lineBreak = end;
        const char *lineEnd = lineBreak;
        if (lineEnd > lineStart && lineEnd[-1] == '\r')
            --lineEnd;

        const char *starts[kReadFields];
        const char *ends[kReadFields];
        const int fieldCount = splitFields(lineStart, lineEnd, starts, ends);

        if (fieldCount >= kMinimumFields && belongsToChannel(starts, ends)) {
            rows->append(buildRow(starts, ends, fieldCount, cache));
            const char *dateEnd = findByte(starts[2], ends[2], ' ');
            if (!dateEnd)
                dateEnd = ends[2];
            const size_t dateSize = static_cast<size_t>(dateEnd - starts[2]);
            if (!cache->hasLastDate || cache->lastDate.size() != dateSize
                || memcmp(cache->lastDate.data(), starts[2], dateSize) != 0) {
                cache->lastDate.assign(starts[2], dateSize);
                cache->hasLastDate = true;
                const QString date = QString::fromUtf8(starts[2], static_cast<int>(dateSize));
                if (!dates->contains(date))
                    dates->append(date);
            }
        }
        position = lineBreak < end ? lineBreak + 1 : end;
    }
}

bool HistoryFileReader::belongsToChannel(const char *fieldStarts[], const char *fieldEnds[]) const
{
    if (!equalBytes(fieldStarts[3], fieldEnds[3], m_channel))
        return false;
    const char *bandBegin = fieldStarts[4];
    const char *bandEnd = fieldEnds[4];
    static const QByteArray converted = QStringLiteral("(換算)").toUtf8();
    if (!findBytes(bandBegin, bandEnd, converted))
        return equalBytes(bandBegin, bandEnd, m_band);
    // Every "(換算)" removed, searching on from where the last one was taken out.
    std::string band(bandBegin, bandEnd);
    for (size_t at = band.find(converted.constData()); at != std::string::npos;
         at = band.find(converted.constData(), at))
        band.erase(at, static_cast<size_t>(converted.size()));
    return band.size() == static_cast<size_t>(m_band.size())
        && memcmp(band.data(), m_band.constData(), band.size()) == 0;
}

IndividualResultListRow HistoryFileReader::buildRow(const char *fieldStarts[], const char *fieldEnds[],
                                                    int fieldCount, FieldCache *cache) const
{
    // Columns counted from 0 here; the older layout lacks the optical level (column 9) and
    // its verdict.
    const bool current = fieldCount > 16;
    const auto text = [&](int column) {
        return cache->text(column, fieldStarts[column], fieldEnds[column]);
    };
    const auto flag = [&](int column) {
        return column < fieldCount && verdict(fieldStarts[column], fieldEnds[column]);
    };
    const int shift = current ? 0 : -1;

    IndividualResultListRow row;
    row.date = QString::fromUtf8(fieldStarts[2], static_cast<int>(fieldEnds[2] - fieldStarts[2]));
    row.level = text(6);
    row.mer = text(7);
    row.ber = text(8);
    row.hikarilevel = current ? text(9) : QStringLiteral("---");
    row.layer = text(10 + shift);
    row.localfreq = text(11 + shift);
    static const QByteArray opticast = QByteArrayLiteral("Opticast");
    const int broadcast = 12 + shift;
    row.broadcast = equalBytes(fieldStarts[broadcast], fieldEnds[broadcast], opticast)
        ? QStringLiteral("OPTICAST")
        : text(broadcast);
    row.ModulationListRole = text(13 + shift);
    row.levelerror = flag(14 + shift);
    row.mererror = flag(15 + shift);
    row.bererror = flag(16 + shift);
    row.hikarierror = current && flag(17);
    row.selectflag = false;
    return row;
}
