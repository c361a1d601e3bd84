#pragma once

#include "core/ListModelFrame.h"
#include "core/ListRowStore.h"
#include "core/MeasureResultRow.h"

#include <QVector>

// The rows of the result list and its status popup: per device one top row with its latest
// result, then one row per channel. Also keeps, per device, the position of its top row.
// Positions handed to the row operations are checked: a position outside the list is ignored
// (getters give an empty value), so a stale position can never reach past the rows.
class MeasureResultModel : public ListModelFrame
{
    Q_OBJECT
public:
    enum Role {
        LatestDataRole = 257,
        TopDataVisibleRole,
        UpdateDataRole,
        NoRole,
        MeasurementStartRole,
        DeviceNoRole,
        NameRole,
        DatatimeRole,
        BandRole,
        ChannelRole,
        FrequencyRole,
        LevelRole,
        MerRole,
        BerRole,
        HikariRole,
        StatusRole,
        ChannelStatusRole,
        CheckboxRole,
        StatusPoopupCheckboxRole,
        SettingcheckRole,
        DisplayRole,
        ClickedRole,
        StatusPopupClickedRole,
        ErrorLevelRole,
        ErrorMerRole,
        ErrorBerRole,
        ErrorHikariRole,
        BroadbandSystemRole,
        LocalFrequencyRole,
        ModulationRole,
        LayerRole,
        PolarizationRole
    };

    explicit MeasureResultModel(QObject *parent = nullptr);
    ~MeasureResultModel() override;

    using ListModelFrame::setCapacity;
    // One model reset; the device top rows stay until clearDeviceTopRows.
    void clear();
    void addRow(const MeasureResultRow &row);
    MeasureResultRow row(int position) const;
    // The held row itself, for reads on the result path without a copy or a QVariant; null
    // outside the list. Valid until the rows next change.
    const MeasureResultRow *rowAt(int position) const;
    void insertRow(const MeasureResultRow &row, int position);
    void removeRow(int position);
    void setRow(int position, const MeasureResultRow &row);
    void setMeasurementValues(int position, const QString &datatime, const QString &band,
                              const QString &channel, const QString &frequency, const QString &level,
                              const QString &mer, const QString &ber, const QString &hikari);
    void setChannelData(int position, const QString &datatime, const QString &band,
                        const QString &channel, const QString &level, const QString &mer,
                        const QString &ber, const QString &hikari, const QString &frequency,
                        const QString &broadbandSystem, const QString &localFrequency,
                        const QString &modulation, const QString &layer,
                        const QString &polarization, bool errorLevel, bool errorMer,
                        bool errorBer, bool errorHikari);
    void setMeasurementStart(int position, int state);
    int checkbox(int position) const;
    void setCheckbox(int position, bool set, int value);
    void setStatusPopupCheckbox(int position, bool set, int value);
    int displayedRowCount() const;
    // Channel rows whose status is an error (1 to 3); kept as the rows change.
    int statusErrorCount() const;
    // The row's "no" as a number (0 when it is none), kept with the rows so that the result
    // path finds a device's rows without reading texts; 0 outside the list.
    int rowNumber(int position) const;
    // Among the first count device top rows, the first that is a top row of device number;
    // -1 when there is none.
    int topRowOf(int number, int count) const;
    // One past the last row of the group whose top row is top: the rows after it that are
    // no top row and carry its number.
    int groupEnd(int top) const;

    void clearDeviceTopRows();
    void appendDeviceTopRow(int position);
    // -1 when i names no device.
    int deviceTopRow(int i) const;
    void setDeviceTopRow(int i, int position);
    void toggleDeviceDisplay(int position);

private:
    int shownRowCount() const override;
    QVariant fieldData(int position, int role) const override;
    void storeField(int position, int role, const QVariant &value) override;
    void storeValue(int position, int role, const QVariant &value);

    // Every change of a row goes through here: the numbers and the error count follow it.
    void forget(int position);
    void count(int position);
    void takeNumber(int position);
    static bool isStatusError(const MeasureResultRow &row);

    ListRowStore<MeasureResultRow> m_rows{*this};
    QVector<int> m_deviceTopRows;
    // Per row, its "no" as a number.
    QVector<int> m_numbers;
    int m_statusErrors = 0;
};
