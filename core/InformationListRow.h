#pragma once

#include <QString>

// One row of the device identity list: what was read from the device.
struct InformationListRow
{
    QString infodeviceno;
    QString infodevicename;
    QString infoipaddress;
    QString infoserialnumber;
    QString infomacaddress;
    QString infofwversion;
};
