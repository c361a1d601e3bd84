#pragma once

#include "core/ChannelDetailsRow.h"

#include <QAbstractListModel>
#include <QHash>
#include <QVector>

// The channels of the device being edited on the channel details screen. Only rows with a
// channel number count; positions outside the counted rows are ignored.
class ChannelDetailsModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        ChannelNoRole = 276,
        BandNameRole,
        ChannelNameRole,
        FrequencycodeRole,
        BroadbandRole,
        LocalFrequencyRole,
        PowerSupplyRole,
        LevelMinRole,
        LevelMaxRole,
        MerRole,
        BerRole,
        HikariLevelMinRole,
        HikariLevelMaxRole,
        ConvCNRRole
    };

    explicit ChannelDetailsModel(QObject *parent = nullptr);
    ~ChannelDetailsModel() override;

    // Rows whose channel number is not empty.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QHash<int, QByteArray> roleNames() const override;

    void setCapacity(int capacity);
    void clear();
    void addRow(const ChannelDetailsRow &row);
    void setPowerSupply(const QString &powerSupply, int position);
    void setLocalFrequency(const QString &frequency, const QString &localFrequency, int position);

private:
    bool isCountedRow(int position) const;
    void emitRowChanged(int position, const QVector<int> &roles);

    QHash<int, QByteArray> m_roleNames;
    QVector<ChannelDetailsRow> m_rows;
    int m_capacity = 0;
};
