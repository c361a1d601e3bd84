#include "support/ResultListSetup.h"

#include "core/SystemLog.h"
#include "monitor/ApplicationModel.h"
#include "monitor/ChannelResultRow.h"
#include "monitor/ChannelSettingRow.h"
#include "monitor/LevelChecker.h"
#include "monitor/NotifyResponse.h"
#include "platform/PlatformPaths.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cstring>

bool ResultListSetup::writeSettings(const QString &dataFolder, int oneYearFlg, int channelCountFlg)
{
    const QString folder = PlatformPaths::checkerSettingsFolder();
    QDir().mkpath(folder);
    QFile ini(folder + QStringLiteral("/application_setting.ini"));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QString folderText = dataFolder;
    // Backslashes are escapes in INI values.
    folderText.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    const QString text = QStringLiteral(
        "[PollingInterval]\nFirstRecv=300\nPowerRecv=300\nUhfRecv=300\nBsRecv=300\n"
        "CsRecv=300\nCatvRecv=300\nSkyperfectvRecv=300\nJcsatRecv=300\nSccRecv=300\n"
        "LteRecv=300\nFmRecv=300\nPilotRecv=300\n[Thread]\nThreadSleep=100\n"
        "[ChMonitoring]\nChMonitoring=0\n[Reboot]\nRebootFlg=false\n"
        "[MeasureResultLog]\nData=%1\nOneYearFlg=%2\n[ChannelCountChange]\nChannelCountFlg=%3\n")
        .arg(folderText, QString::number(oneYearFlg), QString::number(channelCountFlg));
    return ini.write(text.toUtf8()) > 0;
}

quint32 ResultListSetup::packedAddress(const QString &dottedAddress)
{
    const QStringList parts = dottedAddress.split(QLatin1Char('.'));
    unsigned char bytes[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4 && i < parts.size(); ++i)
        bytes[i] = static_cast<unsigned char>(parts.at(i).toUInt());
    quint32 ip = 0;
    std::memcpy(&ip, bytes, sizeof ip);
    return ip;
}

AlertSettingRow ResultListSetup::thresholds(int band, const QString &channel)
{
    AlertSettingRow a;
    a.bandTabIndex = band;
    a.channel = channel;
    a.levelMin = QStringLiteral("40");
    a.levelMax = QStringLiteral("80");
    a.merCn = QStringLiteral("25");
    a.ber = QStringLiteral("1.0E-4");
    a.hikariLevelMin = QStringLiteral("-10");
    a.hikariLevelMax = QStringLiteral("0");
    a.convertCnr = QStringLiteral("30");
    return a;
}

void ResultListSetup::addChannel(LevelChecker *device, int band, const QString &channel, int frequencyKHz,
                                 int localKHz, const QString &standard, bool withThresholds)
{
    ChannelSettingRow plan;
    plan.bandTabIndex = band;
    plan.channel = channel;
    plan.frequency = frequencyKHz;
    plan.broadbandSystem = standard;
    plan.localFrequency = localKHz;
    device->addChannelSetting(plan);
    ChannelResultRow initial;
    initial.bandTabIndex = band;
    initial.channel = channel;
    initial.level = initial.merCn = initial.ber = QStringLiteral("---");
    device->addLatestResult(initial);
    if (withThresholds)
        device->addAlertSetting(thresholds(band, channel));
}

NotifyResponse *ResultListSetup::createHandler(ApplicationModel *app)
{
    auto *handler = new NotifyResponse(app, SystemLog::instance(), nullptr);
    QObject::connect(handler, SIGNAL(setResponseValueEnd(int, int)), handler,
                     SLOT(onSetResponseValueEnd(int, int)));
    return handler;
}
