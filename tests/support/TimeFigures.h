#pragma once

#include <QVector>
#include <QtGlobal>

// What a benchmark reports of a series of measured times: median, 90th percentile and
// maximum, in microseconds.
struct TimeFigures
{
    double median = 0;
    double p90 = 0;
    double max = 0;

    // The figures of times given in nanoseconds; all 0 for none.
    static TimeFigures ofNanoseconds(QVector<qint64> ns);
};
