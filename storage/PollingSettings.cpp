#include "storage/PollingSettings.h"

#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"

#include <QSettings>

#include <algorithm>
#include <array>

namespace {

const char *const IntervalGroup = "PollingInterval";
const char *const IntervalKeys[] = { "FirstRecv", "PowerRecv", "UhfRecv", "BsRecv", "CsRecv", "CatvRecv",
                                     "SkyperfectvRecv", "JcsatRecv", "SccRecv", "LteRecv", "FmRecv",
                                     "PilotRecv" };
constexpr int IntervalCount = int(sizeof IntervalKeys / sizeof IntervalKeys[0]);

int bounded(int value, int low, int high)
{
    return std::max(low, std::min(value, high));
}

// The twelve intervals in key order, so that reading, writing and copying walk one table.
template <typename Settings>
auto intervalFields(Settings &s)
{
    return std::array<decltype(&s.firstRecv), IntervalCount> {
        &s.firstRecv, &s.powerRecv, &s.uhfRecv, &s.bsRecv, &s.csRecv, &s.catvRecv,
        &s.skyperfectvRecv, &s.jcsatRecv, &s.sccRecv, &s.lteRecv, &s.fmRecv, &s.pilotRecv };
}

} // namespace

PollingSettings PollingSettings::read(const QString &iniPath)
{
    PollingSettings result;
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    const auto fields = intervalFields(result);
    for (int i = 0; i < IntervalCount; ++i) {
        const int value = ini.value(QStringLiteral("%1/%2").arg(QLatin1String(IntervalGroup),
                                                               QLatin1String(IntervalKeys[i])))
                              .toInt();
        *fields[i] = bounded(value, i < 2 ? ShortIntervalMin : BandIntervalMin, IntervalMax);
    }
    result.chMonitoring = bounded(ini.value(QStringLiteral("ChMonitoring/ChMonitoring")).toInt(), 0, 1);
    result.channelCountFlg = ini.value(QStringLiteral("ChannelCountChange/ChannelCountFlg")).toInt();
    return result;
}

bool PollingSettings::write(const QString &iniPath) const
{
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    const auto fields = intervalFields(*this);
    for (int i = 0; i < IntervalCount; ++i)
        ini.setValue(QStringLiteral("%1/%2").arg(QLatin1String(IntervalGroup), QLatin1String(IntervalKeys[i])),
                     *fields[i]);
    ini.setValue(QStringLiteral("ChMonitoring/ChMonitoring"), chMonitoring);
    // QSettings writes lazily and reports a failed write only through status() after sync().
    ini.sync();
    return ini.status() == QSettings::NoError;
}

void PollingSettings::copyInto(ApplicationSetting *setting) const
{
    if (!setting)
        return;
    const auto from = intervalFields(*this);
    const auto to = intervalFields(*setting);
    for (int i = 0; i < IntervalCount; ++i)
        *to[i] = *from[i];
    setting->chMonitoring = chMonitoring;
    setting->channelCountFlg = channelCountFlg;
}

void PollingSettings::copyIntoDevices(DeviceList *devices) const
{
    if (!devices)
        return;
    for (int i = 0; i < devices->deviceCount(); ++i) {
        LevelChecker *device = devices->device(i);
        if (!device)
            continue;
        ApplicationSetting setting = device->applicationSetting();
        copyInto(&setting);
        device->setApplicationSetting(setting);
    }
}

bool PollingSettings::sameIntervalsAndMode(const PollingSettings &other) const
{
    const auto left = intervalFields(*this);
    const auto right = intervalFields(other);
    for (int i = 0; i < IntervalCount; ++i) {
        if (*left[i] != *right[i])
            return false;
    }
    return chMonitoring == other.chMonitoring;
}

std::array<int *, 12> PollingSettings::intervals()
{
    return intervalFields(*this);
}
