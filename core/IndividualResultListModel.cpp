#include "core/IndividualResultListModel.h"

namespace {

// A live update grows the table only up to this many rows.
constexpr int kLiveRowLimit = 300;

} // namespace

IndividualResultListModel::IndividualResultListModel(QObject *parent)
    : ListModelFrame({{DateRole, QByteArrayLiteral("date")},
                      {LevelRole, QByteArrayLiteral("level")},
                      {MerRole, QByteArrayLiteral("mer")},
                      {BerRole, QByteArrayLiteral("ber")},
                      {LevelerrorRole, QByteArrayLiteral("levelerror")},
                      {MererrorRole, QByteArrayLiteral("mererror")},
                      {BererrorRole, QByteArrayLiteral("bererror")},
                      {SelectflagRole, QByteArrayLiteral("selectflag")},
                      {BroadcastRole, QByteArrayLiteral("broadcast")},
                      {ModulationListRole, QByteArrayLiteral("ModulationListRole")},
                      {LayerRole, QByteArrayLiteral("layer")},
                      {LocalfreqRole, QByteArrayLiteral("localfreq")},
                      {HikarilevelRole, QByteArrayLiteral("hikarilevel")},
                      {HikarierrorRole, QByteArrayLiteral("hikarierror")}},
                     parent)
{
}

IndividualResultListModel::~IndividualResultListModel() = default;

void IndividualResultListModel::clear()
{
    m_rows.clear();
}

void IndividualResultListModel::addRow(const IndividualResultListRow &row)
{
    m_rows.append(row);
}

int IndividualResultListModel::count() const
{
    return m_rows.size();
}

void IndividualResultListModel::addLatestRow(const IndividualResultListRow &row)
{
    // The views learn of a growing table as one row more at the end; the shift of every
    // row by one place reaches them as changed contents.
    if (m_rows.size() < kLiveRowLimit)
        m_rows.append(row);
    m_rows.shiftIn(row);
    everyRowChanged();
}

int IndividualResultListModel::shownRowCount() const
{
    return m_rows.shownCount();
}

QVariant IndividualResultListModel::fieldData(int position, int role) const
{
    const IndividualResultListRow &r = m_rows.at(position);
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

void IndividualResultListModel::storeField(int position, int role, const QVariant &value)
{
    IndividualResultListRow &r = m_rows.at(position);
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
}
