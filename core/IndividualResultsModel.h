#pragma once

#include "core/IndividualResultsRow.h"
#include "core/ListModelFrame.h"
#include "core/ListRowStore.h"

// The points of the history graphs (level, MER, BER), newest first.
class IndividualResultsModel : public ListModelFrame
{
    Q_OBJECT
public:
    enum Role {
        DateRole = 286,
        LevelRole,
        MerRole,
        BerRole,
        RadRole,
        LinelengthRole,
        GraphyvalueRole,
        MeryvalueRole,
        MerlengthRole,
        MerradRole,
        BeryvalueRole,
        BerlengthRole,
        BerradRole,
        TimeRole
    };

    explicit IndividualResultsModel(QObject *parent = nullptr);
    ~IndividualResultsModel() override;

    using ListModelFrame::setCapacity;
    void clear();
    void addRow(const IndividualResultsRow &row);
    int count() const;
    // Puts the point first and drops the oldest, so the graph keeps its number of points.
    void addLatestPoint(const IndividualResultsRow &point);

private:
    int shownRowCount() const override;
    QVariant fieldData(int position, int role) const override;
    void storeField(int position, int role, const QVariant &value) override;

    ListRowStore<IndividualResultsRow> m_rows{*this};
};
