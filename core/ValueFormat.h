#pragma once

#include <QString>
#include <QtGlobal>

// Turns the stored values of a channel into the texts of the screens, the logs and the
// device protocol. Stateless apart from constant tables; callable from any thread.
class ValueFormat
{
public:
    // Short or long display name of a band; empty for a band outside 0-18.
    static QString bandDisplayName(const int &band, bool shortName);
    // True when the short display names of the two bands differ.
    static bool bandNamesDiffer(int band1, int band2);
    // Frequency in MHz with the band's number of decimals, or none when wholeNumber.
    static QString frequencyText(const int &band, const quint32 &frequencyKHz, const bool &wholeNumber);
    // Local-oscillator frequency in GHz; "---" for 0.
    static QString localFrequencyText(quint32 frequencyKHz);
    // Device code of a local-oscillator frequency; empty when it has none.
    static QString localFrequencyCode(const int &frequencyKHz);
    // Loose check: at least three dots, the first not leading.
    static bool isIpAddressText(const QString &text);
    // "h:m[:s]" with fields parts in range, kept as written; otherwise defaultText.
    static QString normalizeTimeText(const QString &text, const QString &defaultText, int fields);
};
