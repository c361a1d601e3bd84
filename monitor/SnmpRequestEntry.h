#pragma once

#include <QString>

// One entry of a request table. Consecutive enabled entries of one group travel in one PDU.
struct SnmpRequestEntry
{
    bool enabled = false;
    int group = 0;
    // Pause before the group starting here is sent (used by the identity readout only).
    int waitMs = 0;
    // SET value type: 's' octet string, 'i' integer. Ignored for a GET.
    char type = 's';
    // Object below the enterprise prefix, without the instance, e.g. "3.1.1".
    QString oidSuffix;
    // Empty means GET.
    QString value;
};
