#pragma once

// The operator's choice for a device, kept across runs in the registration's column
// "測定状態". Kept by the device as an int (LevelChecker::measurementState), as in the file.
enum class MeasurementState : int {
    Measuring = 0,
    Stopped = 1
};
