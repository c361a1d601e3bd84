#pragma once

#include <QString>
#include <QStringList>

// Where a test finds the source tree and the build folder: NRT52_SOURCE_DIR and
// NRT52_BUILD_DIR when set (ctest sets them), else the folders the tests were configured
// with, so a test binary started by hand finds them too.
class TestPaths
{
public:
    static QString sourceDir();
    static QString buildDir();
    // Where a test keeps a picture for a person to look at: the path in the environment
    // variable when it is set, else the file of that name in the build folder.
    static QString picturePath(const char *variable, const QString &fileName);
    // Empty when every program is found on PATH, else a message naming those that are not:
    // a test fails on it at once rather than read a missing ping or curl as a dead device.
    static QString missingPrograms(const QStringList &programs);
};
