#pragma once

#include <QMetaType>
#include <QString>

// Payload of the response handler's screen-update signal: its meaning depends on the key.
struct ScreenUpdateValue
{
    int number = 0;
    bool flag = false;
    QString text;
};

Q_DECLARE_METATYPE(ScreenUpdateValue)
