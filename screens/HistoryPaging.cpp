#include "screens/HistoryPaging.h"

#include <algorithm>
#include <array>

namespace {

std::array<int, 3> dateKey(const QString &date)
{
    const QStringList parts = date.split(QLatin1Char('/'));
    std::array<int, 3> key { 0, 0, 0 };
    for (int i = 0; i < 3 && i < parts.size(); ++i)
        key[static_cast<size_t>(i)] = parts.at(i).toInt();
    return key;
}

} // namespace

int HistoryPaging::pageCount(int rowCount)
{
    return rowCount <= 0 ? 0 : (rowCount + PageSize - 1) / PageSize;
}

QVector<IndividualResultListRow> HistoryPaging::pageRows(const QVector<IndividualResultListRow> &dateRows, int page)
{
    const int first = (page - 1) * PageSize;
    if (page < 1 || first >= dateRows.size())
        return {};
    return dateRows.mid(first, PageSize);
}

QVector<IndividualResultListRow> HistoryPaging::rowsOfDate(const QVector<IndividualResultListRow> &allRows,
                                                           const QString &date)
{
    QVector<IndividualResultListRow> rows;
    for (const IndividualResultListRow &row : allRows) {
        if (row.date.contains(date, Qt::CaseInsensitive))
            rows.append(row);
    }
    return rows;
}

int HistoryPaging::pageFromText(const QString &text, int pageCount)
{
    const int page = text.toInt();
    if (page > pageCount)
        return pageCount;
    if (page < 1)
        return 1;
    return page;
}

void HistoryPaging::sortNewestFirst(QStringList *dates)
{
    std::stable_sort(dates->begin(), dates->end(), [](const QString &a, const QString &b) {
        return dateKey(a) > dateKey(b);
    });
}

QString HistoryPaging::dateOf(const QString &dateTime)
{
    const int blank = dateTime.indexOf(QLatin1Char(' '));
    return blank < 0 ? dateTime : dateTime.left(blank);
}

QString HistoryPaging::timeOf(const QString &dateTime)
{
    const int blank = dateTime.indexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : dateTime.mid(blank + 1);
}
