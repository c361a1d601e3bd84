#include "core/ApplicationSetting.h"

#include "core/ValueFormat.h"
#include "platform/PlatformPaths.h"

#include <QSettings>

ApplicationSetting ApplicationSetting::readFile(const QString &iniPath)
{
    ApplicationSetting setting;
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.setIniCodec("UTF-8");

    ini.beginGroup(QStringLiteral("PollingInterval"));
    setting.firstRecv = ini.value(QStringLiteral("FirstRecv")).toInt();
    setting.powerRecv = ini.value(QStringLiteral("PowerRecv")).toInt();
    setting.uhfRecv = ini.value(QStringLiteral("UhfRecv")).toInt();
    setting.bsRecv = ini.value(QStringLiteral("BsRecv")).toInt();
    setting.csRecv = ini.value(QStringLiteral("CsRecv")).toInt();
    setting.catvRecv = ini.value(QStringLiteral("CatvRecv")).toInt();
    setting.skyperfectvRecv = ini.value(QStringLiteral("SkyperfectvRecv")).toInt();
    setting.jcsatRecv = ini.value(QStringLiteral("JcsatRecv")).toInt();
    setting.sccRecv = ini.value(QStringLiteral("SccRecv")).toInt();
    setting.lteRecv = ini.value(QStringLiteral("LteRecv")).toInt();
    setting.fmRecv = ini.value(QStringLiteral("FmRecv")).toInt();
    setting.pilotRecv = ini.value(QStringLiteral("PilotRecv")).toInt();
    ini.endGroup();

    ini.beginGroup(QStringLiteral("Thread"));
    setting.threadSleep = ini.value(QStringLiteral("ThreadSleep")).toInt();
    ini.endGroup();

    // ChMonitoring is left to the start-up loading, which clamps it.

    ini.beginGroup(QStringLiteral("Reboot"));
    // An empty or missing flag means the schedule is on; only 0 and false switch it off.
    const QString rebootFlg = ini.value(QStringLiteral("RebootFlg")).toString();
    setting.rebootFlg = rebootFlg.isEmpty()
                        || !(rebootFlg == QLatin1String("0")
                             || rebootFlg.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0);
    setting.rebootTime = ValueFormat::normalizeTimeText(ini.value(QStringLiteral("RebootTime")).toString(),
                                                        QStringLiteral("2:00:00"), 3);
    const QString stopSec = ini.value(QStringLiteral("RebootStopSec")).toString();
    setting.rebootStopSec = stopSec.isEmpty() ? 300 : stopSec.toInt();
    ini.endGroup();

    ini.beginGroup(QStringLiteral("MeasureResultLog"));
    setting.data = ini.value(QStringLiteral("Data")).toString();
    setting.oneYearFlg = ini.value(QStringLiteral("OneYearFlg")).toInt();
    ini.endGroup();

    ini.beginGroup(QStringLiteral("ChannelCountChange"));
    setting.channelCountFlg = ini.value(QStringLiteral("ChannelCountFlg")).toInt();
    ini.endGroup();

    return setting;
}

QString ApplicationSetting::filePath()
{
    return PlatformPaths::toLocal(
        QStringLiteral("C:\\VELMORA\\NRT52\\InternalReadOnly\\CheckerSettings\\application_setting.ini"));
}
