#pragma once

#include "core/IndividualResultListRow.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The date and page arithmetic of the history table: the rows of one date, 300 rows a page.
class HistoryPaging
{
public:
    static constexpr int PageSize = 300;

    // Pages of rowCount rows: rowCount / 300 rounded up (0 for no rows).
    static int pageCount(int rowCount);
    // The rows of page (counted from 1); the last page may hold fewer, a page outside none.
    static QVector<IndividualResultListRow> pageRows(const QVector<IndividualResultListRow> &dateRows, int page);
    // The rows whose date contains date, letters compared without regard to case, in order.
    static QVector<IndividualResultListRow> rowsOfDate(const QVector<IndividualResultListRow> &allRows,
                                                       const QString &date);
    // The page a typed text names: 1 for no number or below 1, the last page beyond it.
    static int pageFromText(const QString &text, int pageCount);
    // "yyyy/MM/dd" texts, newest first by year, month and day.
    static void sortNewestFirst(QStringList *dates);
    // The date part of "yyyy/MM/dd hh:mm:ss": up to the first blank, all of it without one.
    static QString dateOf(const QString &dateTime);
    // The time part: after the first blank, empty without one.
    static QString timeOf(const QString &dateTime);
};
