#pragma once

#include "core/StatusErrorResultRow.h"

#include <QAbstractListModel>
#include <QHash>
#include <QVector>

// A list of status errors for the status popup's error list. Nothing fills it: it offers no
// way to add rows, so it stays empty for the whole run.
class StatusErrorModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        DeviceNoRole = 257,
        BandRole,
        ChannelRole,
        DatatimeRole,
        LevelRole,
        MerRole,
        BerRole,
        ErrorLevelRole,
        ErrorMerRole,
        ErrorBerRole,
        AlertLevelMinRole,
        AlertLevelMaxRole,
        AlertMerRole,
        AlertBerRole,
        DisplayRole,
        ClickedRole
    };

    explicit StatusErrorModel(QObject *parent = nullptr);
    ~StatusErrorModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QHash<int, QByteArray> roleNames() const override;

private:
    QHash<int, QByteArray> m_roleNames;
    QVector<StatusErrorResultRow> m_rows;
};
