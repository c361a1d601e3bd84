#include "core/IndividualResultListModel.h"

namespace {

// A live update grows the table only up to this many rows.
constexpr int kLiveRowLimit = 300;

} // namespace

IndividualResultListModel::IndividualResultListModel(QObject *parent)
    : QAbstractListModel(parent)
{
    m_roleNames.insert(DateRole, QByteArrayLiteral("date"));
    m_roleNames.insert(LevelRole, QByteArrayLiteral("level"));
    m_roleNames.insert(MerRole, QByteArrayLiteral("mer"));
    m_roleNames.insert(BerRole, QByteArrayLiteral("ber"));
    m_roleNames.insert(LevelerrorRole, QByteArrayLiteral("levelerror"));
    m_roleNames.insert(MererrorRole, QByteArrayLiteral("mererror"));
    m_roleNames.insert(BererrorRole, QByteArrayLiteral("bererror"));
    m_roleNames.insert(SelectflagRole, QByteArrayLiteral("selectflag"));
    m_roleNames.insert(BroadcastRole, QByteArrayLiteral("broadcast"));
    m_roleNames.insert(ModulationListRole, QByteArrayLiteral("ModulationListRole"));
    m_roleNames.insert(LayerRole, QByteArrayLiteral("layer"));
    m_roleNames.insert(LocalfreqRole, QByteArrayLiteral("localfreq"));
    m_roleNames.insert(HikarilevelRole, QByteArrayLiteral("hikarilevel"));
    m_roleNames.insert(HikarierrorRole, QByteArrayLiteral("hikarierror"));
}

IndividualResultListModel::~IndividualResultListModel() = default;

int IndividualResultListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_rows.size();
}

QVariant IndividualResultListModel::data(const QModelIndex &index, int role) const
{
    if (!hasIndex(index.row(), index.column(), index.parent()))
        return QVariant();
    const IndividualResultListRow &r = m_rows.at(index.row());
    switch (role) {
    case DateRole: return r.date;
    case LevelRole: return r.level;
    case MerRole: return r.mer;
    case BerRole: return r.ber;
    case LevelerrorRole: return r.levelerror;
    case MererrorRole: return r.mererror;
    case BererrorRole: return r.bererror;
    case SelectflagRole: return r.selectflag;
    case BroadcastRole: return r.broadcast;
    case ModulationListRole: return r.ModulationListRole;
    case LayerRole: return r.layer;
    case LocalfreqRole: return r.localfreq;
    case HikarilevelRole: return r.hikarilevel;
    case HikarierrorRole: return r.hikarierror;
    default: return QVariant();
    }
}

bool IndividualResultListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!hasIndex(index.row(), index.column(), index.parent()) || !value.isValid())
        return false;
    IndividualResultListRow &r = m_rows[index.row()];
    switch (role) {
    case DateRole: r.date = value.toString(); break;
    case LevelRole: r.level = value.toString(); break;
    case MerRole: r.mer = value.toString(); break;
    case BerRole: r.ber = value.toString(); break;
    case LevelerrorRole: r.levelerror = value.toBool(); break;
    case MererrorRole: r.mererror = value.toBool(); break;
    case BererrorRole: r.bererror = value.toBool(); break;
    case SelectflagRole: r.selectflag = value.toBool(); break;
    case BroadcastRole: r.broadcast = value.toString(); break;
    case ModulationListRole: r.ModulationListRole = value.toString(); break;
    case LayerRole: r.layer = value.toString(); break;
    case LocalfreqRole: r.localfreq = value.toString(); break;
    case HikarilevelRole: r.hikarilevel = value.toString(); break;
    case HikarierrorRole: r.hikarierror = value.toBool(); break;
    default: break;
    }
    emit dataChanged(index, index, {role});
    return true;
}

QHash<int, QByteArray> IndividualResultListModel::roleNames() const
{
    return m_roleNames;
}

void IndividualResultListModel::setCapacity(int capacity)
{
    m_capacity = capacity;
}

void IndividualResultListModel::clear()
{
    if (rowCount() < 1)
        return;
    beginRemoveRows(QModelIndex(), 0, m_rows.size() - 1);
    m_rows.clear();
    endRemoveRows();
}

void IndividualResultListModel::addRow(const IndividualResultListRow &row)
{
    const int n = m_rows.size();
    beginInsertRows(QModelIndex(), n, n);
    m_rows.append(row);
    endInsertRows();
}

int IndividualResultListModel::count() const
{
    return m_rows.size();
}

void IndividualResultListModel::addLatestRow(const IndividualResultListRow &row)
{
    // The views learn of a growing table as one row more at the end; the shift of every
    // row by one place reaches them as changed contents.
    if (m_rows.size() < kLiveRowLimit) {
        const int n = m_rows.size();
        beginInsertRows(QModelIndex(), n, n);
        m_rows.append(row);
        endInsertRows();
    }
    m_rows.prepend(row);
    m_rows.removeLast();
    const QVector<int> roles = {DateRole, LevelRole, MerRole, BerRole, LevelerrorRole,
                                MererrorRole, BererrorRole, SelectflagRole, BroadcastRole,
                                ModulationListRole, LayerRole, LocalfreqRole, HikarilevelRole,
                                HikarierrorRole};
    for (int position = 0; position < m_rows.size(); ++position) {
        const QModelIndex at = index(position, 0);
        emit dataChanged(at, at, roles);
    }
}
