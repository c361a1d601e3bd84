#pragma once

#include "core/DeviceSettingRow.h"
#include "core/ListModelFrame.h"
#include "core/ListRowStore.h"

// The device registration list of the device setting screen. Only rows with a device number
// count; positions outside the list are ignored (getters give an empty text).
class DeviceSettingModel : public ListModelFrame
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

    using ListModelFrame::setCapacity;
    void clear();
    void addRow(const DeviceSettingRow &row);
    void appendRow(const DeviceSettingRow &row);
    // The table filled anew, as clear() and addRow() of each row would fill it, except that
    // a row shown before and after is changed in place: the page keeps its delegate rather
    // than destroying and making fifty rows again. rowsReplaced() follows.
    void replaceRows(const QVector<DeviceSettingRow> &rows);
    QString ipAddress(int position) const;
    QString deviceName(int position) const;
    // Each setter changes its one field but announces every role of the row.
    void setInputType(const QString &inputType, int position);
    void setValidTime(const QString &validTime, int position);
    void setCycleInterval(const QString &cycleInterval, int position);
    void setHikariWaveLength(const QString &hikariWaveLength, int position);

signals:
    // What a kept delegate holds of its own (a tick, an unsent edit) belongs to the table
    // before: it starts again as a new row would.
    void rowsReplaced();

private:
    int shownRowCount() const override;
    QVariant fieldData(int position, int role) const override;
    void storeField(int position, int role, const QVariant &value) override;
    void setText(QString DeviceSettingRow::*field, const QString &text, int position);

    ListRowStore<DeviceSettingRow> m_rows{*this, &DeviceSettingRow::deviceno};
};
