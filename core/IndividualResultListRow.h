#pragma once

#include <QString>

// One result of the history table. The verdict flags are true when the value kept its
// thresholds or was not judged, false when it broke them.
struct IndividualResultListRow
{
    QString date;
    QString level;
    QString mer;
    QString ber;
    bool levelerror = false;
    bool mererror = false;
    bool bererror = false;
    bool selectflag = false;
    QString broadcast;
    QString ModulationListRole;
    QString layer;
    QString localfreq;
    QString hikarilevel;
    bool hikarierror = false;
};
