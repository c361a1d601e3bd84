#pragma once

#include "core/IndividualResultListRow.h"
#include "core/IndividualResultsRow.h"

#include <QString>
#include <QVector>

// The geometry of the history graphs in page units: the conversion of value texts, the graph
// window around a selected row, and each point with the line to its older neighbour.
//
// Level graph: 120 units from the bottom to the top of the level axis. MER/CN graph: 2.5
// units per dB from 5 dB. BER graph: 14 units per decade, 0 at 1e-2 and 84 at 1e-8.
class HistoryGraph
{
public:
    // The value of pi the graphs are drawn with.
    static constexpr double Pi = 3.14159265359;

    struct Axis
    {
        double minDisplay = 20.0;
        double maxDisplay = 120.0;
        double levelScale = 1.2; // 120 / (maxDisplay - minDisplay)
    };

    struct Window
    {
        int first = 0;
        int count = 0;
    };

    // dBµV of a level text: "---" 20, a leading "<" dropped, no number 0.
    static double levelValue(const QString &text);
    // dB of a MER/CN text: "---" 5, a leading "<" or ">" dropped, no number 0.
    static double merValue(const QString &text);
    // Graph units of a BER text: "---" and 0 give 84, above 1e-2 0.
    static double berValue(const QString &text);

    // The pointCount rows around row selected of rowCount rows, moved to lie within them.
    static Window window(int selected, int pointCount, int rowCount);

    // The level sits on the floor of the default axis: the bottom is 20 and it is no higher.
    static bool atFloor(double level, const Axis &axis);
    // The level as drawn in a row selection: held at 20 and 120 only by the default ends.
    static double displayedLevel(double level, const Axis &axis);
    // Height of a level point: 1 on the floor, else from the displayed level or the value.
    static double levelY(double level, const Axis &axis, bool fromDisplayed);

    // The line from a point to its older neighbour: length and direction in degrees.
    static void levelLine(double level, double olderLevel, const Axis &axis, double spacing,
                          double *length, double *rad);
    static void merLine(double mer, double olderMer, double spacing, double *length, double *rad);
    static void berLine(double ber, double olderBer, double spacing, double *length, double *rad);

    // A point of the graph model that is not drawn.
    static IndividualResultsRow placeholder();

    // The pointCount points of the window rows (newest first) with their converted values
    // levels, mers and bers (one each per row), placeholders after the last row. The last
    // row starts no line. fromDisplayed: level heights from the displayed level (a row
    // selection) or from the value (a redraw).
    static QVector<IndividualResultsRow> windowPoints(const QVector<IndividualResultListRow> &rows,
                                                      const QVector<double> &levels,
                                                      const QVector<double> &mers,
                                                      const QVector<double> &bers, int pointCount,
                                                      double spacing, const Axis &axis,
                                                      bool fromDisplayed);
};
