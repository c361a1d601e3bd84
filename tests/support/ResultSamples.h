#pragma once

#include "monitor/ChannelResultRow.h"

#include <QString>

// A stored result as a device of the tests reports it: the given moment, channel, level and
// band, the other values fixed (MER/CN 30.1, BER <1.0E-8, no optical level, 64QAM, layer A,
// ISDB-T).
ChannelResultRow sampleResult(const QString &dateTime, const QString &channel = QStringLiteral("13"),
                              const QString &level = QStringLiteral("65.2"), int band = 0);
