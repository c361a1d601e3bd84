#pragma once

#include <QMetaType>

// What a device's polling worker does: measure channel by channel, or read the device's
// identity once. Kept by the device as an int (LevelChecker::requestMode).
enum class RequestMode : int {
    Measurement = 0,
    Information = 1,
    Undefined = 2 // no mode chosen yet
};

Q_DECLARE_METATYPE(RequestMode)
