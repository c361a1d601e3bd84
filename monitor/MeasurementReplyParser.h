#pragma once

#include "monitor/ChannelResultRow.h"
#include "monitor/ChannelSettingRow.h"

#include <QDateTime>
#include <QString>

// Reads the reply texts of a device's measurement exchange: the rendering of its result
// object (comma-separated value ending in a line feed) and the "Timeout,%d\n" / "Error,%d\n"
// texts of a failed request. Stateless; knows nothing of devices beyond the texts it is given.
class MeasurementReplyParser
{
public:
    // The reply carries the result object ("lcMeasResult.0").
    static bool isMeasurementText(const QString &response);
    // The reply reports a failed request ("Timeout" or "Error").
    static bool isFailureText(const QString &response);

    // The reply with a "Hex-STRING: " rendering (the library's form for a value holding a
    // byte it cannot print) turned back into "STRING: " and the value's text; any other
    // reply unchanged.
    static QString decodedHexString(const QString &response);

    // Builds the row of a measurement reply (a Hex-STRING rendering is decoded first). False
    // when the text has no "STRING: " or no line feed, or fewer than 12 elements. The MER/CN
    // modes are the device's texts ("MER" or "CNR").
    static bool parseMeasurement(const QString &response, const QString &terrestrialMerCnText,
                                 const QString &catvMerCnText, ChannelResultRow *row);

    // The plan position that a failure text names, or -1 when it names none (no second
    // element). A second element that is no number reads as 0.
    static int failurePosition(const QString &response);

    // The "---" row of a failed request for the channel plan row at that position.
    static ChannelResultRow failureRow(const ChannelSettingRow &plan,
                                       const QString &terrestrialMerCnText,
                                       const QString &catvMerCnText, const QDateTime &now);

    // Whether a result of that band holds a C/N converted from MER.
    static bool convertedCn(int band, const QString &terrestrialMerCnText,
                            const QString &catvMerCnText, bool isdbt);

    // A plan's standard code read as an unsigned number (no number reads as 0); 0 is ISDB-T.
    static bool isIsdbtCode(const QString &broadbandSystem);
};
