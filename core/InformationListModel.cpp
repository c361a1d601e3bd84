#include "core/InformationListModel.h"

InformationListModel::InformationListModel(QObject *parent)
    : QAbstractListModel(parent)
{
    m_roleNames.insert(InfodevicenoRole, QByteArrayLiteral("infodeviceno"));
    m_roleNames.insert(InfodevicenameRole, QByteArrayLiteral("infodevicename"));
    m_roleNames.insert(InfoipaddressRole, QByteArrayLiteral("infoipaddress"));
    m_roleNames.insert(InfoserialnumberRole, QByteArrayLiteral("infoserialnumber"));
    m_roleNames.insert(InfomacaddressRole, QByteArrayLiteral("infomacaddress"));
    m_roleNames.insert(InfofwversionRole, QByteArrayLiteral("infofwversion"));
}

InformationListModel::~InformationListModel() = default;

int InformationListModel::rowCount(const QModelIndex &parent) const
{
    // A list has no children; answering for a valid parent would make it look like a tree.
    if (parent.isValid())
        return 0;
    int count = 0;
    for (const InformationListRow &r : m_rows) {
        if (!r.infodeviceno.isEmpty())
            ++count;
    }
    return count;
}

QVariant InformationListModel::data(const QModelIndex &index, int role) const
{
    if (!hasIndex(index.row(), index.column(), index.parent()))
        return QVariant();
    const InformationListRow &r = m_rows.at(index.row());
    switch (role) {
    case InfodevicenoRole: return r.infodeviceno;
    case InfodevicenameRole: return r.infodevicename;
    case InfoipaddressRole: return r.infoipaddress;
    case InfoserialnumberRole: return r.infoserialnumber;
    case InfomacaddressRole: return r.infomacaddress;
    case InfofwversionRole: return r.infofwversion;
    default: return QVariant();
    }
}

bool InformationListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!hasIndex(index.row(), index.column(), index.parent()) || !value.isValid())
        return false;
    InformationListRow &r = m_rows[index.row()];
    const QString text = value.toString();
    switch (role) {
    case InfodevicenoRole: r.infodeviceno = text; break;
    case InfodevicenameRole: r.infodevicename = text; break;
    case InfoipaddressRole: r.infoipaddress = text; break;
    case InfoserialnumberRole: r.infoserialnumber = text; break;
    case InfomacaddressRole: r.infomacaddress = text; break;
    case InfofwversionRole: r.infofwversion = text; break;
    default: break;
    }
    emit dataChanged(index, index, {role});
    return true;
}

QHash<int, QByteArray> InformationListModel::roleNames() const
{
    return m_roleNames;
}

void InformationListModel::setCapacity(int capacity)
{
    m_capacity = capacity;
}

void InformationListModel::clear()
{
    // Rows without a device number were never announced, so only the counted ones are
    // announced as removed; all rows go, so none of them resurfaces after a refill.
    const int count = rowCount();
    if (count < 1) {
        m_rows.clear();
        return;
    }
    beginRemoveRows(QModelIndex(), 0, count - 1);
    m_rows.clear();
    endRemoveRows();
}

void InformationListModel::addRow(const InformationListRow &row)
{
    // A row without a device number is not counted, so the views learn of nothing.
    if (row.infodeviceno.isEmpty()) {
        m_rows.append(row);
        return;
    }
    const int count = rowCount();
    beginInsertRows(QModelIndex(), count, count);
    m_rows.append(row);
    endInsertRows();
}
