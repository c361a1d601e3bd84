#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Line and field handling shared by the readers and writers of the settings CSV files
// (registration, channel plans, alert thresholds). The files are UTF-8 without quoting;
// they may come from Windows, so readers take CR LF as well as LF.
class SettingFileText
{
public:
    enum class Encoding {
        Utf8,
        // UTF-8, or Shift-JIS when the bytes are no valid UTF-8 but valid Shift-JIS (a
        // Japanese spreadsheet saves CSV so).
        Utf8OrShiftJis
    };

    // Reads the whole file and splits it into lines: LF or CR LF ends a line, a missing last
    // line end is fine, a leading byte-order mark is dropped. A final line end does not make
    // an extra empty line. Every byte is decoded, a NUL byte as U+0000. *shiftJis, when
    // given, tells whether the file was read as Shift-JIS. False when the file cannot be
    // opened or read.
    static bool readLines(const QString &path, QStringList *lines, Encoding encoding = Encoding::Utf8,
                          bool *shiftJis = nullptr);
    // The text of bytes as readLines() decodes it.
    static QString decode(const QByteArray &bytes, Encoding encoding, bool *shiftJis = nullptr);

    // True for a line that holds nothing but blanks.
    static bool isBlank(const QString &line);

    // Field index of fields, or the empty text past the end of a short line.
    static QString field(const QStringList &fields, int index);

    // Decimal integer, 0 when the text is no number.
    static int toInt(const QString &text);

    // Replaces path with bytes as a whole: the old file stays untouched until the new one
    // is completely on disk, so a failed write or a crash never leaves a half file.
    // False when the file cannot be written.
    static bool writeAtomically(const QString &path, const QByteArray &bytes);

    // Moves pending over committed in one step, when pending exists: committed is never
    // missing in between, and stays as it was when the move fails. True when there was
    // nothing to move or the move succeeded.
    static bool promote(const QString &pending, const QString &committed);

    // Removes path when it exists; true when no file is left there.
    static bool removeFile(const QString &path);
};
