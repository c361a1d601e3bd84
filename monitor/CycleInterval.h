#pragma once

// The measuring cycle of a device. The device keeps it as an int and shows it as text
// ("連続", "5分", ...); the polling worker turns the text back into the value.
enum class CycleInterval : int {
    None = -1,
    Continuous = 0, // "連続"
    Minutes5 = 1,   // "5分"
    Minutes15 = 2,  // "15分"
    Minutes30 = 3,  // "30分"
    Minutes60 = 4   // "60分"
};
