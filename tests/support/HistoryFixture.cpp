#include "support/HistoryFixture.h"

#include "core/ConstantTables.h"
#include "platform/PlatformPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <string>
#include <vector>

namespace {

void appendTwoDigits(std::string &out, int value)
{
    out.push_back(static_cast<char>('0' + value / 10 % 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

} // namespace

QString HistoryFixture::folder(int deviceNo)
{
    return PlatformPaths::toLocal(QStringLiteral("C:\\VELMORA\\NRT52\\InternalReadOnly\\INDIVIDUAL_LOG\\機器No%1")
                                      .arg(deviceNo));
}

QByteArray HistoryFixture::headerLine()
{
    return QStringLiteral("機器No,名称,日時,チャンネル,BAND,周波数(MHz),レベル(dBuV),MER/CN(dB),BER,光レベル,"
                          "Layer/偏波,局発周波数(GHz),放送規格,変調方式,Levelエラー判定,Merエラー判定,"
                          "Berエラー判定,光レベルエラー判定\n")
        .toUtf8();
}

QByteArray HistoryFixture::dataLine(int deviceNo, const QString &dateTime, const QString &channel,
                                    const QString &bandColumn, const QString &level, const QString &mer,
                                    const QString &ber, const QString &verdicts, const QString &hikari,
                                    const QString &layer, const QString &localFrequency,
                                    const QString &broadcast, const QString &modulation)
{
    QStringList fields = {QString::number(deviceNo), QStringLiteral("受信点%1").arg(deviceNo), dateTime,
                          channel, bandColumn, QStringLiteral("473.143"), level, mer, ber, hikari,
                          layer, localFrequency, broadcast, modulation};
    for (const QChar verdict : verdicts)
        fields.append(QString(verdict));
    return fields.join(QLatin1Char(',')).toUtf8() + '\n';
}

bool HistoryFixture::writeFile(const QString &path, QByteArray bytes, bool crlf)
{
    if (crlf)
        bytes.replace("\n", "\r\n");
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QVector<HistoryFixture::Channel> HistoryFixture::hundredChannels()
{
    QVector<Channel> channels;
    for (int ch = 13; ch <= 52; ++ch)
        channels.append({BandTerrestrial, QString::number(ch), ch % 4 == 0});
    for (int ch = 1; ch <= 23; ch += 2)
        channels.append({BandBsRight, QStringLiteral("BS%1").arg(ch), false});
    for (int ch = 2; ch <= 24; ch += 2)
        channels.append({BandCsRight, QStringLiteral("ND%1").arg(ch), false});
    for (int ch = 13; ch <= 42; ++ch)
        channels.append({BandCatv, QStringLiteral("C%1").arg(ch), ch % 2 == 0});
    channels.append({BandLte, QStringLiteral("LTE1"), false});
    channels.append({BandLte, QStringLiteral("LTE2"), false});
    channels.append({BandFm, QStringLiteral("80.0"), false});
    channels.append({BandFm, QStringLiteral("81.3"), false});
    channels.append({BandPilot, QStringLiteral("P1"), false});
    channels.append({BandPilot, QStringLiteral("P2"), false});
    return channels;
}

qint64 HistoryFixture::generate(int deviceNo, const QVector<Channel> &channels, const QDate &first,
                                int days, int samplesPerDay)
{
    // Every part of a line except its date and time is fixed per channel and a small
    // rotation of values, so a day is mostly copying bytes.
    const std::string prefix = (QString::number(deviceNo) + QStringLiteral(",受信点%1,").arg(deviceNo)).toStdString();
    static const char *const levels[] = {"65.2", "64.8", "66.1", "<20.0", "63.9", "65.0", "67.3", "64.1"};
    static const char *const mers[] = {"30.1", "29.8", "31.2", "---", "28.7", "30.0", "32.4", "29.1"};
    static const char *const bers[] = {"<1.0E-8", "2.0E-7", "1.5E-5", "---", "<1.0E-8", "3.1E-6", "<1.0E-8", "8.0E-4"};
    static const char *const verdicts[] = {"1,1,1,1", "1,1,1,1", "1,1,1,1", "0,0,0,0", "1,1,1,1", "1,1,1,1", "1,1,1,1", "1,1,0,1"};
    std::vector<std::string> middles;
    for (const Channel &c : channels) {
        QString band = BandShortName110Table.value(c.band);
        if (c.converted)
            band += QStringLiteral("(換算)");
        middles.push_back((QLatin1Char(',') + c.channel + QLatin1Char(',') + band + QStringLiteral(",473.143,")).toStdString());
    }
    const std::string header = headerLine().toStdString();
    const int step = samplesPerDay > 0 ? 86400 / samplesPerDay : 86400;

    qint64 lines = 0;
    std::string day;
    for (int d = 0; d < days; ++d) {
        const QDate date = first.addDays(d);
        day.clear();
        day.reserve(static_cast<size_t>(samplesPerDay) * channels.size() * 130 + header.size());
        day += header;
        for (int s = 0; s < samplesPerDay; ++s) {
            for (int c = 0; c < channels.size(); ++c) {
                const int second = std::min(86399, s * step + c * step / (channels.size() + 1));
                const int v = (s + c) % 8;
                day += prefix;
                day += std::to_string(date.year());
                day.push_back('/');
                appendTwoDigits(day, date.month());
                day.push_back('/');
                appendTwoDigits(day, date.day());
                day.push_back(' ');
                appendTwoDigits(day, second / 3600);
                day.push_back(':');
                appendTwoDigits(day, second / 60 % 60);
                day.push_back(':');
                appendTwoDigits(day, second % 60);
                day += middles[static_cast<size_t>(c)];
                day += levels[v];
                day.push_back(',');
                day += mers[v];
                day.push_back(',');
                day += bers[v];
                day += ",---,A,---,ISDBT,64QAM,";
                day += verdicts[v];
                day.push_back('\n');
                ++lines;
            }
        }
        const QString path = folder(deviceNo) + QLatin1Char('/') + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv");
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(day.data(), static_cast<qint64>(day.size())) != static_cast<qint64>(day.size()))
            return -1;
    }
    return lines;
}
