#pragma once

#include "core/ListModelFrame.h"

#include <QModelIndex>
#include <QString>
#include <QVector>

// The rows of one list model, held by value in display order, and the one place where a change
// of the row set is announced to the views.
//
// A store made with a key field shows only the rows whose key is not empty: they are counted,
// announced when added and when cleared, while rows without a key are held silently and never
// reach the views. A store made without a key shows every row.
template <class Row>
class ListRowStore
{
public:
    explicit ListRowStore(ListModelFrame &model, QString Row::*key = nullptr)
        : m_model(model)
        , m_key(key)
    {
    }

    // Rows the views are shown.
    int shownCount() const
    {
        if (!m_key)
            return m_rows.size();
        return countIf([this](const Row &row) { return isCounted(row); });
    }

    // Every row held, shown or not.
    int size() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    bool holds(int position) const { return position >= 0 && position < m_rows.size(); }
    bool shows(int position) const { return position >= 0 && position < shownCount(); }

    template <class Predicate>
    int countIf(Predicate predicate) const
    {
        int count = 0;
        for (const Row &row : m_rows) {
            if (predicate(row))
                ++count;
        }
        return count;
    }

    // Unchecked: for positions the caller has checked.
    const Row &at(int position) const { return m_rows.at(position); }
    Row &at(int position) { return m_rows[position]; }
    // A copy of the held row, or an empty row for a position that holds none.
    Row value(int position) const { return m_rows.value(position); }

    // Appends a copy. A counted row is announced at the end of the shown rows.
    void append(const Row &row)
    {
        if (!isCounted(row)) {
            m_rows.append(row);
            return;
        }
        const int position = shownCount();
        m_model.beginInsertRows(QModelIndex(), position, position);
        m_rows.append(row);
        m_model.endInsertRows();
    }

    // Removes every row, announcing the removal of the shown ones. Rows held silently go too,
    // so that none of them resurfaces in front of the next filling.
    void clear()
    {
        const int shown = shownCount();
        if (shown < 1) {
            m_rows.clear();
            return;
        }
        m_model.beginRemoveRows(QModelIndex(), 0, shown - 1);
        m_rows.clear();
        m_model.endRemoveRows();
    }

    // Holds rows instead of the present ones, as clear() then append() of each would, but a
    // position shown before and after stays in the views and is announced changed (with
    // roles): the views keep what they made for it. The counted rows come first in rows.
    void replaceAll(const QVector<Row> &rows, const QVector<int> &roles)
    {
        const int before = shownCount();
        int after = 0;
        for (const Row &row : rows) {
            if (isCounted(row))
                ++after;
        }
        if (after < before) {
            m_model.beginRemoveRows(QModelIndex(), after, before - 1);
            m_rows = rows;
            m_model.endRemoveRows();
        } else if (after > before) {
            m_model.beginInsertRows(QModelIndex(), before, after - 1);
            m_rows = rows;
            m_model.endInsertRows();
        } else {
            m_rows = rows;
        }
        const int kept = qMin(before, after);
        if (kept > 0)
            emit m_model.dataChanged(m_model.index(0), m_model.index(kept - 1), roles);
    }

    // Removes every row as one model reset; an empty store announces nothing.
    void reset()
    {
        if (shownCount() < 1)
            return;
        m_model.beginResetModel();
        m_rows.clear();
        m_model.endResetModel();
    }

    // Inserts a copy at position (the end included) of a store that shows every row; any
    // other position changes nothing.
    void insert(int position, const Row &row)
    {
        Q_ASSERT(!m_key);
        if (position < 0 || position > m_rows.size())
            return;
        m_model.beginInsertRows(QModelIndex(), position, position);
        m_rows.insert(position, row);
        m_model.endInsertRows();
    }

    // Removes the row at position of a store that shows every row; a position that holds no
    // row changes nothing.
    void remove(int position)
    {
        Q_ASSERT(!m_key);
        if (!holds(position))
            return;
        m_model.beginRemoveRows(QModelIndex(), position, position);
        m_rows.remove(position);
        m_model.endRemoveRows();
    }

    // Puts a copy first and drops the last row, announcing nothing: the number of rows stays
    // and the caller announces the changed contents.
    void shiftIn(const Row &row)
    {
        m_rows.prepend(row);
        m_rows.removeLast();
    }

    // Lets edit change the row at position, then announces roles for that one row. A position
    // the views are not shown changes nothing and announces nothing.
    template <class Edit>
    void change(int position, const QVector<int> &roles, Edit edit)
    {
        if (!shows(position))
            return;
        edit(m_rows[position]);
        m_model.rowChanged(position, roles);
    }

private:
    bool isCounted(const Row &row) const { return !m_key || !(row.*m_key).isEmpty(); }

    ListModelFrame &m_model;
    QString Row::*m_key;
    QVector<Row> m_rows;

    Q_DISABLE_COPY(ListRowStore)
};
