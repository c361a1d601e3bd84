#include "core/IndividualResultsModel.h"

IndividualResultsModel::IndividualResultsModel(QObject *parent)
    : ListModelFrame({{DateRole, QByteArrayLiteral("date")},
                      {LevelRole, QByteArrayLiteral("level")},
                      {MerRole, QByteArrayLiteral("mer")},
                      {BerRole, QByteArrayLiteral("ber")},
                      {RadRole, QByteArrayLiteral("rad")},
                      {LinelengthRole, QByteArrayLiteral("linelength")},
                      {GraphyvalueRole, QByteArrayLiteral("graphyvalue")},
                      {MeryvalueRole, QByteArrayLiteral("meryvalue")},
                      {MerlengthRole, QByteArrayLiteral("merlength")},
                      {MerradRole, QByteArrayLiteral("merrad")},
                      {BeryvalueRole, QByteArrayLiteral("beryvalue")},
                      {BerlengthRole, QByteArrayLiteral("berlength")},
                      {BerradRole, QByteArrayLiteral("berrad")},
                      {TimeRole, QByteArrayLiteral("time")}},
                     parent)
{
}

IndividualResultsModel::~IndividualResultsModel() = default;

void IndividualResultsModel::clear()
{
    m_rows.clear();
}

void IndividualResultsModel::addRow(const IndividualResultsRow &row)
{
    m_rows.append(row);
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
    m_rows.shiftIn(point);
    // The oldest point starts no line.
    IndividualResultsRow &last = m_rows.at(m_rows.size() - 1);
    last.linelength = 0.0;
    last.merlength = 0.0;
    last.berlength = 0.0;
    everyRowChanged();
}

int IndividualResultsModel::shownRowCount() const
{
    return m_rows.shownCount();
}

QVariant IndividualResultsModel::fieldData(int position, int role) const
{
    const IndividualResultsRow &r = m_rows.at(position);
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

void IndividualResultsModel::storeField(int position, int role, const QVariant &value)
{
    IndividualResultsRow &r = m_rows.at(position);
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
}
