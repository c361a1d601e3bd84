#pragma once

#include <QMetaType>

// The band of a channel, as kept in every file, record and request that names a band.
enum BandTabIndex : int {
    BandTerrestrial = 0,      // 地デジ
    BandBsRight = 1,          // BS右旋
    BandBsLeft = 2,           // BS左旋
    BandCsRight = 3,          // CS右旋
    BandCsLeft = 4,           // CS左旋
    BandCatv = 5,             // CATV
    BandSkyperfectv = 6,      // スカパー！光 (optical service)
    BandCatvUpstream = 7,     // CATV上り
    BandJcsat3aHorizontal = 8,
    BandJcsat3aVertical = 9,
    BandJcsat4bHorizontal = 10,
    BandJcsat4bVertical = 11,
    BandSccBHorizontal = 12,
    BandSccBVertical = 13,
    BandSccCHorizontal = 14,
    BandSccCVertical = 15,
    BandLte = 16,
    BandFm = 17,
    BandPilot = 18,
    BandCount = 19            // number of bands, not a band
};

// The screens. 1 names no screen.
enum ScreenId : int {
    ScreenMainFrame = 0,
    ScreenNone = 1,
    ScreenHome = 2,
    ScreenMeasurementResult = 3,
    ScreenDeviceSetting = 4,
    ScreenChannelSetting = 5,
    ScreenChannelDetails = 6,
    ScreenResultIndividual = 7,
    ScreenSystemSetting = 8
};

// The kinds of work-history entry; their message formats are in WorkLogFormatTable.
enum WorkLogKind : int {
    WorkLogScreenChange = 0,
    WorkLogDeviceAdded = 1,
    WorkLogDeviceNameChanged = 2,
    WorkLogIpAddressChanged = 3,
    WorkLogInputTypeChanged = 4,
    WorkLogWavelengthChanged = 5,
    WorkLogCycleChanged = 6,
    WorkLogAlertTimeChanged = 7,
    WorkLogSettingsApplied = 8,
    WorkLogChannelSettingChanged = 9,
    WorkLogSystemSettingChanged = 10,
    WorkLogMeasurementStartStop = 11,
    WorkLogEndedInState = 12,
    WorkLogAutoStart = 13,
    WorkLogErrorCleared = 14,
    WorkLogApplicationStarted = 15,
    WorkLogApplicationEnded = 16
};

// The level of a log line. Levels above 1 also go to the log file.
enum LogLevel : int {
    LogConsole = 0,   // worker trace lines, console only
    LogNormal = 2,    // almost every line
    LogError = 4      // screen switching errors of the main frame
};

Q_DECLARE_METATYPE(BandTabIndex)
Q_DECLARE_METATYPE(ScreenId)
Q_DECLARE_METATYPE(WorkLogKind)
