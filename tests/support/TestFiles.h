#pragma once

#include <QByteArray>
#include <QString>

// Whole files for tests: written as given (no line-end conversion) and read back as bytes.
class TestFiles
{
public:
    // Writes bytes to path, making its folder first; false when not all were written.
    static bool writeBytes(const QString &path, const QByteArray &bytes);
    // The file's bytes, empty when it cannot be read.
    static QByteArray readBytes(const QString &path);
    // The file decoded from Shift-JIS, empty when it cannot be read.
    static QString readShiftJis(const QString &path);
    // Copies the template channel plan that ships with the program (demo/root of the source
    // tree, NRT52_SOURCE_DIR) to its place below NRT52_ROOT; false when it could not.
    static bool installTemplatePlan();
};
