#pragma once

#include "core/ApplicationSetting.h"
#include "core/SystemLog.h"
#include "monitor/ChannelSettingRow.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "support/SimDevices.h"

#include <QDateTime>
#include <QHostAddress>
#include <QList>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

// What the polling tests share: a temporary root with the device MIB module, devices that
// point at simulated level checkers, and readers of a device's request log.
class PollingFixture
{
public:
    // Short intervals: a pass of two channels takes a few seconds.
    static ApplicationSetting shortSetting()
    {
        ApplicationSetting s;
        s.firstRecv = 600;
        s.powerRecv = 400;
        s.uhfRecv = 300;
        s.bsRecv = 200;
        s.csRecv = 200;
        s.catvRecv = 200;
        s.skyperfectvRecv = 200;
        s.jcsatRecv = 200;
        s.sccRecv = 200;
        s.lteRecv = 200;
        s.fmRecv = 200;
        s.pilotRecv = 200;
        s.threadSleep = 100;
        s.chMonitoring = 0;
        s.channelCountFlg = 0;
        return s;
    }

    static ChannelSettingRow row(int band, const QString &channel, int powerSupply = 0, int frequency = 0,
                                 const QString &broadband = QStringLiteral("0"), int localFrequency = 0)
    {
        ChannelSettingRow r;
        r.bandTabIndex = band;
        r.channel = channel;
        r.powerSupply = powerSupply;
        r.frequency = frequency;
        r.broadbandSystem = broadband;
        r.localFrequency = localFrequency;
        return r;
    }

    static quint32 addressOf(const QString &dotted)
    {
        const QStringList parts = dotted.split(QLatin1Char('.'));
        unsigned char bytes[4] = {0, 0, 0, 0};
        for (int i = 0; i < 4 && i < parts.size(); ++i)
            bytes[i] = static_cast<unsigned char>(parts.at(i).toUInt());
        quint32 address = 0;
        std::memcpy(&address, bytes, sizeof address);
        return address;
    }

    // A device of the list (its Qt child) at host:port, registered with addDevice.
    static LevelChecker *addDevice(DeviceList &list, const QString &host, int port, int inputType = 0,
                                   int cycleInterval = 0, int wavelength = 3,
                                   const QList<ChannelSettingRow> &plan = {},
                                   const ApplicationSetting &setting = shortSetting())
    {
        const quint32 address = addressOf(host);
        const int number = list.deviceCount() + 1;
        auto *device = new LevelChecker(number, QStringLiteral("機器%1").arg(number), &address, inputType,
                                        QStringLiteral("%1.csv").arg(number), cycleInterval,
                                        QStringLiteral("常時"), QStringLiteral("常時"), wavelength, &list);
        device->setCommunity("kv52gate");
        device->setPort(port);
        device->setApplicationSetting(setting);
        for (const ChannelSettingRow &r : plan)
            device->addChannelSetting(r);
        list.addDevice(device);
        return device;
    }

    static LevelChecker *addSimDevice(DeviceList &list, const SimDevices &sim, int simDevice, int inputType = 0,
                                      int cycleInterval = 0, int wavelength = 3,
                                      const QList<ChannelSettingRow> &plan = {},
                                      const ApplicationSetting &setting = shortSetting())
    {
        return addDevice(list, sim.host(simDevice), sim.port(simDevice), inputType, cycleInterval, wavelength,
                         plan, setting);
    }

    // "SET 3.1.1 ISDBT" lines with the time of each.
    struct Request {
        QDateTime time;
        QString text;
    };

    static QList<Request> timedRequests(const SimDevices &sim, int device)
    {
        QList<Request> out;
        for (const QString &line : sim.requestLog(device)) {
            const int space = line.indexOf(QLatin1Char(' '));
            if (space < 0)
                continue;
            out.append({QDateTime::fromString(line.left(space), Qt::ISODateWithMs), line.mid(space + 1)});
        }
        return out;
    }

    static int countOf(const QStringList &lines, const QString &text)
    {
        return lines.count(text);
    }

    // Position of the n-th (0-based) occurrence of text, -1 when there is none.
    static int indexOfNth(const QStringList &lines, const QString &text, int n)
    {
        int from = 0;
        for (int i = 0; i <= n; ++i) {
            const int at = lines.indexOf(text, from);
            if (at < 0)
                return -1;
            if (i == n)
                return at;
            from = at + 1;
        }
        return -1;
    }
};
