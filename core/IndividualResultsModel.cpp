#include "core/IndividualResultsModel.h"

IndividualResultsModel::IndividualResultsModel(QObject *parent)
    : QAbstractListModel(parent)
{
    m_roleNames.insert(DateRole, QByteArrayLiteral("date"));
    m_roleNames.insert(LevelRole, QByteArrayLiteral("level"));
    m_roleNames.insert(MerRole, QByteArrayLiteral("mer"));
    m_roleNames.insert(BerRole, QByteArrayLiteral("ber"));
    m_roleNames.insert(RadRole, QByteArrayLiteral("rad"));
    m_roleNames.insert(LinelengthRole, QByteArrayLiteral("linelength"));
    m_roleNames.insert(GraphyvalueRole, QByteArrayLiteral("graphyvalue"));
    m_roleNames.insert(MeryvalueRole, QByteArrayLiteral("meryvalue"));
    m_roleNames.insert(MerlengthRole, QByteArrayLiteral("merlength"));
    m_roleNames.insert(MerradRole, QByteArrayLiteral("merrad"));
    m_roleNames.insert(BeryvalueRole, QByteArrayLiteral("beryvalue"));
    m_roleNames.insert(BerlengthRole, QByteArrayLiteral("berlength"));
    m_roleNames.insert(BerradRole, QByteArrayLiteral("berrad"));
    m_roleNames.insert(TimeRole, QByteArrayLiteral("time"));
}

IndividualResultsModel::~IndividualResultsModel() = default;

int IndividualResultsModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_rows.size();
}

QVariant IndividualResultsModel::data(const QModelIndex &index, int role) const
{
    if (!hasIndex(index.row(), index.column(), index.parent()))
        return QVariant();
    const IndividualResultsRow &r = m_rows.at(index.row());
    switch (role) {
    case DateRole: return r.date;
    case LevelRole: return r.level;
    case MerRole: return r.mer;
    case BerRole: return r.ber;
    case RadRole: return r.rad;
    case LinelengthRole: return r.linelength;
    case GraphyvalueRole: return r.graphyvalue;
    case MeryvalueRole: return r.meryvalue;
    case MerlengthRole: return r.merlength;
    case MerradRole: return r.merrad;
    case BeryvalueRole: return r.beryvalue;
    case BerlengthRole: return r.berlength;
    case BerradRole: return r.berrad;
    case TimeRole: return r.time;
    default: return QVariant();
    }
}

bool IndividualResultsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!hasIndex(index.row(), index.column(), index.parent()) || !value.isValid())
        return false;
    IndividualResultsRow &r = m_rows[index.row()];
    switch (role) {
    case DateRole: r.date = value.toString(); break;
    case LevelRole: r.level = value.toString(); break;
    case MerRole: r.mer = value.toString(); break;
    case BerRole: r.ber = value.toString(); break;
    case RadRole: r.rad = value.toDouble(); break;
    case LinelengthRole: r.linelength = value.toDouble(); break;
    case GraphyvalueRole: r.graphyvalue = value.toDouble(); break;
    case MeryvalueRole: r.meryvalue = value.toDouble(); break;
    case MerlengthRole: r.merlength = value.toDouble(); break;
    case MerradRole: r.merrad = value.toDouble(); break;
    case BeryvalueRole: r.beryvalue = value.toDouble(); break;
    case BerlengthRole: r.berlength = value.toDouble(); break;
    case BerradRole: r.berrad = value.toDouble(); break;
    case TimeRole: r.time = value.toString(); break;
    default: break;
    }
    emit dataChanged(index, index, {role});
    return true;
}

QHash<int, QByteArray> IndividualResultsModel::roleNames() const
{
    return m_roleNames;
}

void IndividualResultsModel::setCapacity(int capacity)
{
    m_capacity = capacity;
}

void IndividualResultsModel::clear()
{
    if (rowCount() < 1)
        return;
    beginRemoveRows(QModelIndex(), 0, m_rows.size() - 1);
    m_rows.clear();
    endRemoveRows();
}

void IndividualResultsModel::addRow(const IndividualResultsRow &row)
{
    const int n = m_rows.size();
    beginInsertRows(QModelIndex(), n, n);
    m_rows.append(row);
    endInsertRows();
}

int IndividualResultsModel::count() const
{
    return m_rows.size();
}

void IndividualResultsModel::addLatestPoint(const IndividualResultsRow &point)
{
    // An empty graph stays empty: there is no older point for the new one to replace.
    if (m_rows.isEmpty())
        return;
    m_rows.prepend(point);
    m_rows.removeLast();
    // The oldest point starts no line.
    IndividualResultsRow &last = m_rows.last();
    last.linelength = 0.0;
    last.merlength = 0.0;
    last.berlength = 0.0;
    const QVector<int> roles = {DateRole, LevelRole, MerRole, BerRole, RadRole, LinelengthRole,
                                GraphyvalueRole, MeryvalueRole, MerlengthRole, MerradRole,
                                BeryvalueRole, BerlengthRole, BerradRole, TimeRole};
    for (int position = 0; position < m_rows.size(); ++position) {
        const QModelIndex at = index(position, 0);
        emit dataChanged(at, at, roles);
    }
}
