#pragma once

#include <QColor>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

// The program itself on a display of its own (Xvfb), started on a copy of the demo root
// whose simulated devices the demo script has started, and the window tool
// (tests/screens/xwindow.py) that clicks and closes its window as a person does.
class ProgramOnDisplay
{
public:
    ~ProgramOnDisplay();

    static bool hasXvfb();
    // Starts Xvfb; false when it did not come up.
    bool startDisplay();
    QString display() const { return m_display; }
    qint64 displayProcessId() const { return m_xvfb.processId(); }

    // The demo root copied to path (with the MIB, a working and a temporary folder), its
    // devices started by the demo script.
    static bool makeDemoRoot(const QString &path);
    // The program started on the root at path, in its working folder, its output in
    // path/program.out; false when it did not start.
    bool startProgram(const QString &path, QProcess &program) const;
    // The last lines the program wrote (its output and its log) on the root at path: a
    // failed wait for its window or its measuring names them.
    static QString lastWords(const QString &path);
    // The simulated devices of the root at path stopped.
    static void stopDevices(const QString &path);

    // Empty once the screen shows colour at point (the program's window is at the top
    // left), within timeoutMs; otherwise what it shows there, for the failure message.
    QString waitForColour(const QPoint &point, const QColor &colour, const QString &what, int timeoutMs = 30000) const;

    // The window tool with these arguments on this display; true when it did its work.
    bool runTool(const QStringList &arguments) const;

private:
    QProcess m_xvfb;
    QString m_display;
};
