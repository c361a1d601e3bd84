#pragma once

// The status codes of a result-list row (MeasureResultRow::channelStatus, and status on the
// two rows that show the device's). The page colours rows by the numbers, so rows keep ints.
enum class ChannelStatus : int {
    Normal = 0,
    Recovered = 1, // returned to normal after an alert
    Abnormal = 2,
    ConnectionError = 3,
    NoOwnStatus = 4 // a row that shows no status of its own; left aside in the device's
};

// Returned to normal, abnormal or connection error: the codes the status pop-up lists.
inline bool isChannelStatusError(int status)
{
    return status >= int(ChannelStatus::Recovered) && status <= int(ChannelStatus::ConnectionError);
}
