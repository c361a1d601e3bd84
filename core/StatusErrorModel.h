#pragma once

#include "core/ListModelFrame.h"
#include "core/ListRowStore.h"
#include "core/StatusErrorResultRow.h"

// A list of status errors for the status popup's error list. Nothing fills it: it offers no
// way to add rows, so it stays empty for the whole run.
class StatusErrorModel : public ListModelFrame
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

private:
    int shownRowCount() const override;
    QVariant fieldData(int position, int role) const override;
    void storeField(int position, int role, const QVariant &value) override;

    ListRowStore<StatusErrorResultRow> m_rows{*this};
};
