#pragma once

#include "monitor/AlertSettingRow.h"

#include <QString>
#include <QtGlobal>

class ApplicationModel;
class LevelChecker;
class NotifyResponse;

// The pieces both result-list test surroundings build the same way: the settings file with
// short waits, packed device addresses, plan channels with their thresholds, and the
// response handler wired to itself.
class ResultListSetup
{
public:
    // Writes "application_setting.ini" to the settings folder below NRT52_ROOT, with short
    // waits so that simulated devices answer within a test's patience. dataFolder is in
    // Windows form.
    static bool writeSettings(const QString &dataFolder, int oneYearFlg, int channelCountFlg);

    // A dotted address packed as start-up packs it (bytes in address order).
    static quint32 packedAddress(const QString &dottedAddress);

    // The threshold row the tests judge with: level 40 to 80, MER/CN 25, BER 1.0E-4,
    // optical -10 to 0, converted C/N 30.
    static AlertSettingRow thresholds(int band, const QString &channel);

    // Appends a channel to the plan (with its initial latest result "---") and, when
    // withThresholds, its threshold row.
    static void addChannel(LevelChecker *device, int band, const QString &channel, int frequencyKHz,
                           int localKHz, const QString &standard, bool withThresholds);

    // The handler, wired to itself as the main frame wires it.
    static NotifyResponse *createHandler(ApplicationModel *app);
};
