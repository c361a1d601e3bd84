#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

// Result history files of a device for tests and benchmarks, written below the root that
// NRT52_ROOT names ("INDIVIDUAL_LOG/機器No<n>/yyyyMMdd.csv"), in the layout the monitor's
// history writer uses: UTF-8, one header line, eighteen fields a line.
class HistoryFixture
{
public:
    struct Channel
    {
        int band = 0;
        QString channel;
        // The BAND column carries "(換算)".
        bool converted = false;
    };

    // The device's history folder.
    static QString folder(int deviceNo);
    static QByteArray headerLine();
    // One data line (LF at the end) with the verdicts "1" or "0" of the four flags.
    static QByteArray dataLine(int deviceNo, const QString &dateTime, const QString &channel,
                               const QString &bandColumn, const QString &level, const QString &mer,
                               const QString &ber, const QString &verdicts = QStringLiteral("1111"),
                               const QString &hikari = QStringLiteral("---"),
                               const QString &layer = QStringLiteral("A"),
                               const QString &localFrequency = QStringLiteral("---"),
                               const QString &broadcast = QStringLiteral("ISDBT"),
                               const QString &modulation = QStringLiteral("64QAM"));
    // Writes bytes to path, making its folder; CR LF line ends when crlf.
    static bool writeFile(const QString &path, QByteArray bytes, bool crlf = false);

    // A plan of 100 channels over several bands: terrestrial 13 to 52, BS, 110°CS, CATV
    // (half of it converted), LTE, FM and PILOT.
    static QVector<Channel> hundredChannels();

    // Writes days files of history of every channel of channels, samplesPerDay results per
    // channel and day spread over the day, starting at first. Returns the number of data
    // lines written, -1 on a write failure. Made for speed: a year of a 100-channel device is
    // about 7 million lines.
    static qint64 generate(int deviceNo, const QVector<Channel> &channels, const QDate &first,
                           int days, int samplesPerDay);
};
