#pragma once

#include <QString>

// One row of the frame's screen table: the page's object name is the key of every lookup.
struct ScreenEntry
{
    int id = 0;        // ScreenId
    QString title;     // shown nowhere by the frame
    QString name;      // object name of the QML page
    QString qmlFile;   // file name of the page, e.g. "Home.qml"
};
