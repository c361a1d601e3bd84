#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QVector>

template <class Row>
class ListRowStore;

// What the list models of the views share: the role table, the capacity hint, the parent and
// index checks in front of every read and write, and the announcement of changed rows. A model
// keeps its rows in a ListRowStore and answers only for the field a role names.
class ListModelFrame : public QAbstractListModel
{
    Q_OBJECT
public:
    ~ListModelFrame() override;

    // A list has no children: a valid parent gets 0, the root the rows the model shows.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // An index the views are not shown or an invalid value is refused and announces nothing;
    // a role that names no field stores nothing but is still announced.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QHash<int, QByteArray> roleNames() const override;

protected:
    ListModelFrame(const QHash<int, QByteArray> &roleNames, QObject *parent);

    // A size hint of the filler: nothing reads it and nothing is limited by it.
    void setCapacity(int capacity);
    // Every role id of the table, ascending.
    QVector<int> roleIds() const;
    void rowChanged(int position, const QVector<int> &roles);
    // Announces every shown row, each alone, with every role.
    void everyRowChanged();

private:
    template <class Row>
    friend class ListRowStore;

    virtual int shownRowCount() const = 0;
    // The field of the row at a shown position; a role that names no field gives no value.
    virtual QVariant fieldData(int position, int role) const = 0;
    virtual void storeField(int position, int role, const QVariant &value) = 0;

    bool isShown(const QModelIndex &index) const;

    QHash<int, QByteArray> m_roleNames;
    int m_capacity = 0;
};
