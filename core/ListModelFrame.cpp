#include "core/ListModelFrame.h"

#include <algorithm>

ListModelFrame::ListModelFrame(const QHash<int, QByteArray> &roleNames, QObject *parent)
    : QAbstractListModel(parent)
    , m_roleNames(roleNames)
{
}

ListModelFrame::~ListModelFrame() = default;

int ListModelFrame::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return shownRowCount();
}

QVariant ListModelFrame::data(const QModelIndex &index, int role) const
{
    if (!isShown(index))
        return QVariant();
    return fieldData(index.row(), role);
}

bool ListModelFrame::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!isShown(index) || !value.isValid())
        return false;
    storeField(index.row(), role, value);
    emit dataChanged(index, index, {role});
    return true;
}

QHash<int, QByteArray> ListModelFrame::roleNames() const
{
    return m_roleNames;
}

void ListModelFrame::setCapacity(int capacity)
{
    m_capacity = capacity;
}

QVector<int> ListModelFrame::roleIds() const
{
    QVector<int> ids;
    ids.reserve(m_roleNames.size());
    for (auto it = m_roleNames.cbegin(); it != m_roleNames.cend(); ++it)
        ids.append(it.key());
    std::sort(ids.begin(), ids.end());
    return ids;
}

void ListModelFrame::rowChanged(int position, const QVector<int> &roles)
{
    const QModelIndex at = index(position, 0);
    emit dataChanged(at, at, roles);
}

void ListModelFrame::everyRowChanged()
{
    const QVector<int> roles = roleIds();
    const int rows = rowCount();
    for (int position = 0; position < rows; ++position)
        rowChanged(position, roles);
}

bool ListModelFrame::isShown(const QModelIndex &index) const
{
    return hasIndex(index.row(), index.column(), index.parent());
}
