#include "support/TimeFigures.h"

#include <algorithm>

TimeFigures TimeFigures::ofNanoseconds(QVector<qint64> ns)
{
    std::sort(ns.begin(), ns.end());
    TimeFigures f;
    if (ns.isEmpty())
        return f;
    f.median = ns.at(ns.size() / 2) / 1000.0;
    f.p90 = ns.at(ns.size() * 9 / 10) / 1000.0;
    f.max = ns.last() / 1000.0;
    return f;
}
