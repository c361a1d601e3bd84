#pragma once

#include <QByteArray>
#include <QString>

// The program names its files by the fixed Windows folders it was designed for
// ("C:\VELMORA\NRT52\InternalReadOnly\..."). Here every such path lives below one
// root folder, taken from NRT52_ROOT, so tests and the demo each get their own tree.
class PlatformPaths
{
public:
    // Root folder: $NRT52_ROOT, or a per-user data folder when unset.
    static QString rootFolder();
    // What rootFolder() is made from, read without building it: while this stays the same,
    // so do the local paths (a relative NRT52_ROOT also follows the working folder).
    static QByteArray rootKey();

    // Maps a Windows-style path to a local one:
    //   "C:\VELMORA\NRT52\X\Y"  -> <root>/X/Y
    //   "D:\A\B"                -> <root>/drive_d/A/B
    //   "A\B" (relative)        -> A/B (relative to the working folder)
    // Paths without backslashes or a drive letter are returned unchanged.
    static QString toLocal(const QString &windowsPath);

    // Shorthands for the fixed folders (no trailing separator).
    static QString checkerSettingsFolder();
    static QString mibFolder();
};
