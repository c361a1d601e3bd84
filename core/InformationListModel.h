#pragma once

#include "core/InformationListRow.h"

#include <QAbstractListModel>
#include <QHash>
#include <QVector>

// The identity list of the device setting screen. Only rows with a device number count.
class InformationListModel : public QAbstractListModel
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

    // Rows whose device number is not empty.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QHash<int, QByteArray> roleNames() const override;

    void setCapacity(int capacity);
    void clear();
    void addRow(const InformationListRow &row);

private:
    QHash<int, QByteArray> m_roleNames;
    QVector<InformationListRow> m_rows;
    int m_capacity = 0;
};
