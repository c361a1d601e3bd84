#pragma once

#include "core/IndividualResultsRow.h"

#include <QAbstractListModel>
#include <QHash>
#include <QVector>

// The points of the history graphs (level, MER, BER), newest first.
class IndividualResultsModel : public QAbstractListModel
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

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QHash<int, QByteArray> roleNames() const override;

    void setCapacity(int capacity);
    void clear();
    void addRow(const IndividualResultsRow &row);
    int count() const;
    // Puts the point first and drops the oldest, so the graph keeps its number of points.
    void addLatestPoint(const IndividualResultsRow &point);

private:
    QHash<int, QByteArray> m_roleNames;
    QVector<IndividualResultsRow> m_rows;
    int m_capacity = 0;
};
