#pragma once

#include <QString>

// One result of one channel of a device: from a measurement reply, or the "---" row of a
// failed request. Values stay the texts the device sent; numbers are parsed only where a
// threshold is judged.
struct ChannelResultRow
{
    int bandTabIndex = 0;
    QString channel;
    // "yyyy/MM/dd hh:mm:ss"; empty while the channel has no result yet.
    QString dateTime;
    QString level;
    QString merCn;
    QString ber;
    QString hikariLevel;
    QString modulation;
    QString layer;
    // Element 7 of the device's value; carried along, never shown, logged or judged.
    QString extraValue;
    QString broadcastStandard;
    // merCn holds a C/N converted from MER.
    bool convertedCn = false;
};
