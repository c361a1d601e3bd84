#pragma once

#include <QString>

// One point of the history graphs: the result's texts and the drawing values of the level,
// MER and BER graphs. The level line's length precedes its direction here, unlike the roles.
struct IndividualResultsRow
{
    QString date;
    QString level;
    QString mer;
    QString ber;
    double linelength = 0.0;
    double rad = 0.0;
    double graphyvalue = 0.0;
    double meryvalue = 0.0;
    double merlength = 0.0;
    double merrad = 0.0;
    double beryvalue = 0.0;
    double berlength = 0.0;
    double berrad = 0.0;
    QString time;
};
