#include "core/InformationListModel.h"

InformationListModel::InformationListModel(QObject *parent)
    : ListModelFrame({{InfodevicenoRole, QByteArrayLiteral("infodeviceno")},
                      {InfodevicenameRole, QByteArrayLiteral("infodevicename")},
                      {InfoipaddressRole, QByteArrayLiteral("infoipaddress")},
                      {InfoserialnumberRole, QByteArrayLiteral("infoserialnumber")},
                      {InfomacaddressRole, QByteArrayLiteral("infomacaddress")},
                      {InfofwversionRole, QByteArrayLiteral("infofwversion")}},
                     parent)
{
}

InformationListModel::~InformationListModel() = default;

void InformationListModel::clear()
{
    m_rows.clear();
}

void InformationListModel::addRow(const InformationListRow &row)
{
    m_rows.append(row);
}

int InformationListModel::shownRowCount() const
{
    return m_rows.shownCount();
}

QVariant InformationListModel::fieldData(int position, int role) const
{
    const InformationListRow &r = m_rows.at(position);
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

void InformationListModel::storeField(int position, int role, const QVariant &value)
{
    InformationListRow &r = m_rows.at(position);
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
}
