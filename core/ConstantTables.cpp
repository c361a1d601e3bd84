#include "core/ConstantTables.h"

// Built in this order during static initialisation; all live in this one translation
// unit so their order is fixed. No table depends on another.

const QMap<int, QString> BandNameTable = {
    {BandTerrestrial, QStringLiteral("地デジ")},
    {BandBsRight, QStringLiteral("BS右旋")},
    {BandBsLeft, QStringLiteral("BS左旋")},
    {BandCsRight, QStringLiteral("CS右旋")},
    {BandCsLeft, QStringLiteral("CS左旋")},
    {BandCatv, QStringLiteral("CATV")},
    {BandSkyperfectv, QStringLiteral("スカパー！光")},
    {BandCatvUpstream, QStringLiteral("CATV上り")},
    {BandJcsat3aHorizontal, QStringLiteral("JCSAT-3A 水平")},
    {BandJcsat3aVertical, QStringLiteral("JCSAT-3A 垂直")},
    {BandJcsat4bHorizontal, QStringLiteral("JCSAT-4B 水平")},
    {BandJcsat4bVertical, QStringLiteral("JCSAT-4B 垂直")},
    {BandSccBHorizontal, QStringLiteral("SCC-B 水平")},
    {BandSccBVertical, QStringLiteral("SCC-B 垂直")},
    {BandSccCHorizontal, QStringLiteral("SCC-C 水平")},
    {BandSccCVertical, QStringLiteral("SCC-C 垂直")},
    {BandLte, QStringLiteral("LTE")},
    {BandFm, QStringLiteral("FM")},
    {BandPilot, QStringLiteral("PILOT")},
};

const QMap<int, QString> BandShortNameTable = {
    {BandTerrestrial, QStringLiteral("地デジ")},
    {BandBsRight, QStringLiteral("BS")},
    {BandBsLeft, QStringLiteral("BS")},
    {BandCsRight, QStringLiteral("CS")},
    {BandCsLeft, QStringLiteral("CS")},
    {BandCatv, QStringLiteral("CATV")},
    {BandSkyperfectv, QStringLiteral("スカパー!光")},
    {BandCatvUpstream, QStringLiteral("CATV上り")},
    {BandJcsat3aHorizontal, QStringLiteral("JCSAT-3A")},
    {BandJcsat3aVertical, QStringLiteral("JCSAT-3A")},
    {BandJcsat4bHorizontal, QStringLiteral("JCSAT-4B")},
    {BandJcsat4bVertical, QStringLiteral("JCSAT-4B")},
    {BandSccBHorizontal, QStringLiteral("SCC-B")},
    {BandSccBVertical, QStringLiteral("SCC-B")},
    {BandSccCHorizontal, QStringLiteral("SCC-C")},
    {BandSccCVertical, QStringLiteral("SCC-C")},
    {BandLte, QStringLiteral("LTE")},
    {BandFm, QStringLiteral("FM")},
    {BandPilot, QStringLiteral("PILOT")},
};

const QMap<int, QString> BandShortName110Table = {
    {BandTerrestrial, QStringLiteral("地デジ")},
    {BandBsRight, QStringLiteral("BS")},
    {BandBsLeft, QStringLiteral("BS")},
    {BandCsRight, QStringLiteral("110°CS")},
    {BandCsLeft, QStringLiteral("110°CS")},
    {BandCatv, QStringLiteral("CATV")},
    {BandSkyperfectv, QStringLiteral("スカパー！光")},
    {BandCatvUpstream, QStringLiteral("CATV上り")},
    {BandJcsat3aHorizontal, QStringLiteral("JCSAT-3A")},
    {BandJcsat3aVertical, QStringLiteral("JCSAT-3A")},
    {BandJcsat4bHorizontal, QStringLiteral("JCSAT-4B")},
    {BandJcsat4bVertical, QStringLiteral("JCSAT-4B")},
    {BandSccBHorizontal, QStringLiteral("SCC-B")},
    {BandSccBVertical, QStringLiteral("SCC-B")},
    {BandSccCHorizontal, QStringLiteral("SCC-C")},
    {BandSccCVertical, QStringLiteral("SCC-C")},
    {BandLte, QStringLiteral("LTE")},
    {BandFm, QStringLiteral("FM")},
    {BandPilot, QStringLiteral("PILOT")},
};

const QMap<int, QString> BroadcastStandardTable = {
    {BandTerrestrial, QStringLiteral("ISDBT")},
    {BandBsRight, QStringLiteral("ISDBS/S3")},
    {BandBsLeft, QStringLiteral("ISDBS/S3")},
    {BandCsRight, QStringLiteral("ISDBS/S3")},
    {BandCsLeft, QStringLiteral("ISDBS/S3")},
    {BandCatv, QStringLiteral("ISDBC")},
    {BandSkyperfectv, QStringLiteral("OPTICAST")},
    {BandCatvUpstream, QStringLiteral("CATV上り")},
    {BandJcsat3aHorizontal, QStringLiteral("DVBS/S2")},
    {BandJcsat3aVertical, QStringLiteral("DVBS/S2")},
    {BandJcsat4bHorizontal, QStringLiteral("DVBS/S2")},
    {BandJcsat4bVertical, QStringLiteral("DVBS/S2")},
    {BandSccBHorizontal, QStringLiteral("DVBS/S2")},
    {BandSccBVertical, QStringLiteral("DVBS/S2")},
    {BandSccCHorizontal, QStringLiteral("DVBS/S2")},
    {BandSccCVertical, QStringLiteral("DVBS/S2")},
    {BandLte, QStringLiteral("LTE")},
    {BandFm, QStringLiteral("FM")},
    {BandPilot, QStringLiteral("PILOT")},
};

const QMap<int, QString> PolarizationTable = {
    {BandTerrestrial, QStringLiteral("---")},
    {BandBsRight, QStringLiteral("右旋")},
    {BandBsLeft, QStringLiteral("左旋")},
    {BandCsRight, QStringLiteral("右旋")},
    {BandCsLeft, QStringLiteral("左旋")},
    {BandCatv, QStringLiteral("---")},
    {BandSkyperfectv, QStringLiteral("---")},
    {BandCatvUpstream, QStringLiteral("---")},
    {BandJcsat3aHorizontal, QStringLiteral("水平")},
    {BandJcsat3aVertical, QStringLiteral("垂直")},
    {BandJcsat4bHorizontal, QStringLiteral("水平")},
    {BandJcsat4bVertical, QStringLiteral("垂直")},
    {BandSccBHorizontal, QStringLiteral("水平")},
    {BandSccBVertical, QStringLiteral("垂直")},
    {BandSccCHorizontal, QStringLiteral("水平")},
    {BandSccCVertical, QStringLiteral("垂直")},
    {BandLte, QStringLiteral("---")},
    {BandFm, QStringLiteral("---")},
    {BandPilot, QStringLiteral("---")},
};

const QMap<bool, QString> StartStopTextTable = {
    {true, QStringLiteral("開始")},
    {false, QStringLiteral("停止")},
};

const QMap<int, QString> WorkLogFormatTable = {
    {WorkLogScreenChange, QStringLiteral("%1へ遷移")},
    {WorkLogDeviceAdded, QStringLiteral("機器No.%1,追加")},
    {WorkLogDeviceNameChanged, QStringLiteral("機器No.%1,名称を変更")},
    {WorkLogIpAddressChanged, QStringLiteral("機器No.%1,IPアドレスを変更")},
    {WorkLogInputTypeChanged, QStringLiteral("機器No.%1,同軸/光を変更")},
    {WorkLogWavelengthChanged, QStringLiteral("機器No.%1,光波長を変更")},
    {WorkLogCycleChanged, QStringLiteral("機器No.%1,サイクル間隔を変更")},
    {WorkLogAlertTimeChanged, QStringLiteral("機器No.%1,アラート有効時間を変更")},
    {WorkLogSettingsApplied, QStringLiteral("設定を適用")},
    {WorkLogChannelSettingChanged, QStringLiteral("機器No.%1,測定チャンネル設定を変更")},
    {WorkLogSystemSettingChanged, QStringLiteral("システム設定を変更")},
    {WorkLogMeasurementStartStop, QStringLiteral("機器No.%1,測定を%2")},
    {WorkLogEndedInState, QStringLiteral("機器No.%1,%2状態で終了")},
    {WorkLogAutoStart, QStringLiteral("機器No.%1,自動で測定開始")},
    {WorkLogErrorCleared, QStringLiteral("機器No.%1,エラーを解除,%2,%3")},
    {WorkLogApplicationStarted, QStringLiteral("アプリケーションを起動")},
    {WorkLogApplicationEnded, QStringLiteral("アプリケーションを終了")},
};

const QMap<int, QString> ScreenNameTable = {
    {ScreenMainFrame, QStringLiteral("メインフレーム画面")},
    {ScreenHome, QStringLiteral("ホーム画面")},
    {ScreenMeasurementResult, QStringLiteral("測定結果 一覧画面")},
    {ScreenDeviceSetting, QStringLiteral("機器設定画面")},
    {ScreenChannelSetting, QStringLiteral("測定チャンネル設定画面")},
    {ScreenChannelDetails, QStringLiteral("チャンネル詳細画面")},
    {ScreenResultIndividual, QStringLiteral("測定結果 選択チャンネル詳細画面")},
    {ScreenSystemSetting, QStringLiteral("システム設定画面")},
};

const QMap<QString, BandTabIndex> BandCodeTable = {
    {QStringLiteral("ISDBT"), BandTerrestrial},
    {QStringLiteral("BS_R"), BandBsRight},
    {QStringLiteral("BS_L"), BandBsLeft},
    {QStringLiteral("CS_R"), BandCsRight},
    {QStringLiteral("CS_L"), BandCsLeft},
    {QStringLiteral("CATV"), BandCatv},
    {QStringLiteral("OPTICAST"), BandSkyperfectv},
    {QStringLiteral("UL"), BandCatvUpstream},
    {QStringLiteral("JCSAT-3A_H"), BandJcsat3aHorizontal},
    {QStringLiteral("JCSAT-3A_V"), BandJcsat3aVertical},
    {QStringLiteral("JCSAT-4B_H"), BandJcsat4bHorizontal},
    {QStringLiteral("JCSAT-4B_V"), BandJcsat4bVertical},
    {QStringLiteral("SCC-B_H"), BandSccBHorizontal},
    {QStringLiteral("SCC-B_V"), BandSccBVertical},
    {QStringLiteral("SCC-C_H"), BandSccCHorizontal},
    {QStringLiteral("SCC-C_V"), BandSccCVertical},
    {QStringLiteral("LTE"), BandLte},
    {QStringLiteral("FM"), BandFm},
    {QStringLiteral("PILOT"), BandPilot},
};

const QMap<int, QString> LocalFrequencyTextTable = {
    {0, QStringLiteral("---")},
    {9505000, QStringLiteral("9.505")},
    {10678000, QStringLiteral("10.678")},
    {11200000, QStringLiteral("11.2")},
    {11300000, QStringLiteral("11.3")},
};

const QMap<QString, int> StandardCodeTable = {
    {QStringLiteral("ISDBT"), 0},
    {QStringLiteral("ISDBC"), 3},
};

const QMap<QString, int> MerCnrTable = {
    {QStringLiteral("MER"), 0},
    {QStringLiteral("CNR"), 1},
};
