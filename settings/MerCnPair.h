#pragma once

#include <QString>

// The MER/CN display modes of one device: terrestrial digital and CATV, "MER" or "CNR".
struct MerCnPair
{
    QString ofdm = QStringLiteral("MER");
    QString catv = QStringLiteral("MER");
};
