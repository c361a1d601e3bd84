#pragma once

#include "core/IndividualResultListRow.h"

#include <QAbstractListModel>
#include <QHash>
#include <QVector>

// The history table of one channel, newest result first.
class IndividualResultListModel : public QAbstractListModel
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

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QHash<int, QByteArray> roleNames() const override;

    void setCapacity(int capacity);
    void clear();
    void addRow(const IndividualResultListRow &row);
    int count() const;
    // Puts the row first; the table grows up to 300 rows and then drops its oldest row.
    void addLatestRow(const IndividualResultListRow &row);

private:
    QHash<int, QByteArray> m_roleNames;
    QVector<IndividualResultListRow> m_rows;
    int m_capacity = 0;
};
