#pragma once

#include "core/IndividualResultListRow.h"
#include "core/ListModelFrame.h"
#include "core/ListRowStore.h"

// The history table of one channel, newest result first.
class IndividualResultListModel : public ListModelFrame
{
    Q_OBJECT
public:
    enum Role {
        DateRole = 306,
        LevelRole,
        MerRole,
        BerRole,
        LevelerrorRole,
        MererrorRole,
        BererrorRole,
        SelectflagRole,
        BroadcastRole,
        ModulationListRole,
        LayerRole,
        LocalfreqRole,
        HikarilevelRole,
        HikarierrorRole
    };

    explicit IndividualResultListModel(QObject *parent = nullptr);
    ~IndividualResultListModel() override;

    using ListModelFrame::setCapacity;
    void clear();
    void addRow(const IndividualResultListRow &row);
    int count() const;
    // Puts the row first; the table grows up to 300 rows and then drops its oldest row.
    void addLatestRow(const IndividualResultListRow &row);

private:
    int shownRowCount() const override;
    QVariant fieldData(int position, int role) const override;
    void storeField(int position, int role, const QVariant &value) override;

    ListRowStore<IndividualResultListRow> m_rows{*this};
};
