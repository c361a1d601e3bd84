#pragma once

#include "core/DeviceSettingRow.h"

#include <QAbstractListModel>
#include <QHash>
#include <QVector>

// The device registration list of the device setting screen. Only rows with a device number
// count; positions outside the list are ignored (getters give an empty text).
class DeviceSettingModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        DevicenoRole = 276,
        DevicenameRole,
        IpaddressRole,
        InputtypeRole,
        SettingfileRole,
        ValidtimeRole,
        CycleIntervalRole,
        HikariWaveLengthRole
    };

    explicit DeviceSettingModel(QObject *parent = nullptr);
    ~DeviceSettingModel() override;

    // Rows whose device number is not empty.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QHash<int, QByteArray> roleNames() const override;

    void setCapacity(int capacity);
    void clear();
    void addRow(const DeviceSettingRow &row);
    void appendRow(const DeviceSettingRow &row);
    QString ipAddress(int position) const;
    QString deviceName(int position) const;
    void setInputType(const QString &inputType, int position);
    void setValidTime(const QString &validTime, int position);
    void setCycleInterval(const QString &cycleInterval, int position);
    void setHikariWaveLength(const QString &hikariWaveLength, int position);

private:
    bool isCountedRow(int position) const;
    void emitWholeRowChanged(int position);

    QHash<int, QByteArray> m_roleNames;
    QVector<DeviceSettingRow> m_rows;
    int m_capacity = 0;
};
