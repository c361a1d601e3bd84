#pragma once

#include "core/InformationListRow.h"
#include "core/ListModelFrame.h"
#include "core/ListRowStore.h"

// The identity list of the device setting screen. Only rows with a device number count.
class InformationListModel : public ListModelFrame
{
    Q_OBJECT
public:
    enum Role {
        InfodevicenoRole = 266,
        InfodevicenameRole,
        InfoipaddressRole,
        InfoserialnumberRole,
        InfomacaddressRole,
        InfofwversionRole
    };

    explicit InformationListModel(QObject *parent = nullptr);
    ~InformationListModel() override;

    using ListModelFrame::setCapacity;
    void clear();
    void addRow(const InformationListRow &row);

private:
    int shownRowCount() const override;
    QVariant fieldData(int position, int role) const override;
    void storeField(int position, int role, const QVariant &value) override;

    ListRowStore<InformationListRow> m_rows{*this, &InformationListRow::infodeviceno};
};
