#pragma once

#include "core/ChannelDetailsRow.h"
#include "core/ListModelFrame.h"
#include "core/ListRowStore.h"

// The channels of the device being edited on the channel details screen. Only rows with a
// channel number count; positions outside the counted rows are ignored.
class ChannelDetailsModel : public ListModelFrame
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

    using ListModelFrame::setCapacity;
    void clear();
    void addRow(const ChannelDetailsRow &row);
    void setPowerSupply(const QString &powerSupply, int position);
    void setLocalFrequency(const QString &frequency, const QString &localFrequency, int position);

private:
    int shownRowCount() const override;
    QVariant fieldData(int position, int role) const override;
    void storeField(int position, int role, const QVariant &value) override;

    ListRowStore<ChannelDetailsRow> m_rows{*this, &ChannelDetailsRow::channelNo};
};
