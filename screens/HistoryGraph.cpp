#include "screens/HistoryGraph.h"

#include "screens/HistoryPaging.h"

#include <algorithm>
#include <cmath>

namespace {

const QString &noValue()
{
    static const QString text = QStringLiteral("---");
    return text;
}

double degrees(double radians)
{
    return radians * 180.0 / HistoryGraph::Pi;
}

} // namespace

double HistoryGraph::levelValue(const QString &text)
{
    if (text == noValue())
        return 20.0;
    return (text.startsWith(QLatin1Char('<')) ? text.mid(1) : text).toDouble();
}

double HistoryGraph::merValue(const QString &text)
{
    if (text == noValue())
        return 5.0;
    const bool marked = text.startsWith(QLatin1Char('<')) || text.startsWith(QLatin1Char('>'));
    return (marked ? text.mid(1) : text).toDouble();
}

double HistoryGraph::berValue(const QString &text)
{
    double value = 0.0;
    if (text != noValue()) {
        const int e = text.indexOf(QLatin1Char('e'));
        const double mantissa = (e < 0 ? text : text.left(e)).toDouble();
        const int exponent = (e < 0 ? text : text.mid(e + 1)).toInt();
        value = mantissa * std::pow(10.0, exponent);
    }
    // A value of 0 or below (no number, or a nonsensical negative rate) is drawn at the
    // bottom rather than handed to the logarithm.
    if (value <= 0.0)
        return 84.0;
    if (value > 0.01)
        return 0.0;
    return -(std::log10(value) * 70.0 / 5.0) - 28.0;
}

HistoryGraph::Window HistoryGraph::window(int selected, int pointCount, int rowCount)
{
    const int half = pointCount / 2;
    Window w;
    if (rowCount < pointCount) {
        w.first = 0;
        w.count = rowCount;
    } else if (selected + half > rowCount) {
        w.first = rowCount - pointCount;
        w.count = pointCount;
    } else if (selected - half < 0) {
        w.first = 0;
        w.count = pointCount;
    } else {
        w.first = selected - half;
        w.count = pointCount;
    }
    return w;
}

bool HistoryGraph::atFloor(double level, const Axis &axis)
{
    return axis.minDisplay == 20.0 && level <= 20.0;
}

double HistoryGraph::displayedLevel(double level, const Axis &axis)
{
    if (atFloor(level, axis))
        return 20.0;
    if (axis.maxDisplay == 120.0 && level >= 120.0)
        return 120.0;
    return level;
}

double HistoryGraph::levelY(double level, const Axis &axis, bool fromDisplayed)
{
    if (atFloor(level, axis))
        return 1.0;
    const double shown = fromDisplayed ? displayedLevel(level, axis) : level;
    return (shown - axis.minDisplay) * axis.levelScale;
}

void HistoryGraph::levelLine(double level, double olderLevel, const Axis &axis, double spacing,
                             double *length, double *rad)
{
    const double shown = displayedLevel(level, axis);
    const double olderShown = displayedLevel(olderLevel, axis);
    double d = 0.0;
    if (atFloor(level, axis))
        d = olderLevel <= 20.0 ? 0.0 : std::fabs((olderShown - 20.0) * axis.levelScale - 1.0);
    else
        d = std::fabs((olderShown - axis.minDisplay) * axis.levelScale - (shown - axis.minDisplay) * axis.levelScale);
    *length = std::sqrt(spacing * spacing + d * d);
    const double a = degrees(std::atan2(d, spacing));
    *rad = level <= olderLevel ? -a : a;
}

void HistoryGraph::merLine(double mer, double olderMer, double spacing, double *length, double *rad)
{
    const double d = std::fabs(olderMer - mer) * 2.5;
    *length = std::sqrt(d * d + spacing * spacing);
    const double a = degrees(std::atan2(d, spacing));
    *rad = mer <= olderMer ? -a : a;
}

void HistoryGraph::berLine(double ber, double olderBer, double spacing, double *length, double *rad)
{
    const double d = std::fabs(olderBer - ber);
    *length = std::sqrt(d * d + spacing * spacing);
    const double a = degrees(std::atan2(d, spacing));
    // The BER axis grows downwards.
    *rad = -(ber <= olderBer ? -a : a);
}

IndividualResultsRow HistoryGraph::placeholder()
{
    IndividualResultsRow point;
    point.date = noValue();
    point.level = noValue();
    point.ber = noValue();
    point.time = noValue();
    point.linelength = -1.0;
    point.graphyvalue = -1.0;
    point.meryvalue = -1.0;
    point.beryvalue = -1.0;
    return point;
}

QVector<IndividualResultsRow> HistoryGraph::windowPoints(const QVector<IndividualResultListRow> &rows,
                                                         const QVector<double> &levels,
                                                         const QVector<double> &mers,
                                                         const QVector<double> &bers, int pointCount,
                                                         double spacing, const Axis &axis,
                                                         bool fromDisplayed)
{
    QVector<IndividualResultsRow> points;
    points.reserve(pointCount);
    const int shown = std::min({rows.size(), levels.size(), mers.size(), bers.size()});
    for (int i = 0; i < pointCount; ++i) {
        if (i >= shown) {
            points.append(placeholder());
            continue;
        }
        IndividualResultsRow point;
        point.graphyvalue = levelY(levels.at(i), axis, fromDisplayed);
        point.meryvalue = (mers.at(i) - 5.0) * 2.5;
        point.beryvalue = bers.at(i);
        point.date = rows.at(i).date;
        point.time = HistoryPaging::timeOf(rows.at(i).date);
        // The page labels the points by time only; these texts are never shown.
        point.level = QStringLiteral("80");
        point.mer = QStringLiteral("30");
        point.ber = QStringLiteral("2.2e-2");
        if (i + 1 < shown) {
            levelLine(levels.at(i), levels.at(i + 1), axis, spacing, &point.linelength, &point.rad);
            merLine(mers.at(i), mers.at(i + 1), spacing, &point.merlength, &point.merrad);
            berLine(bers.at(i), bers.at(i + 1), spacing, &point.berlength, &point.berrad);
        }
        points.append(point);
    }
    return points;
}
