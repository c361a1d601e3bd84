#include "storage/SettingFileText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextCodec>

#include <cstdio>

namespace {

// The text of bytes in codec; false when some byte sequence is not valid in it.
bool decodeUtf8Strictly(const QByteArray &bytes, QString *text)
{
    QTextCodec::ConverterState state;
    *text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

// As decodeUtf8Strictly() for Shift-JIS. This codec does not count what it could not decode:
// a replacement character, or a text that does not encode back to the same number of bytes
// (a double-byte character cut at the end), tells instead.
bool decodeShiftJisStrictly(const QByteArray &bytes, QString *text)
{
    QTextCodec *codec = QTextCodec::codecForName("Shift-JIS");
    if (!codec)
        return false;
    *text = codec->toUnicode(bytes);
    return !text->contains(QChar(QChar::ReplacementCharacter)) && codec->fromUnicode(*text).size() == bytes.size();
}

} // namespace

QString SettingFileText::decode(const QByteArray &bytes, Encoding encoding, bool *shiftJis)
{
    if (shiftJis)
        *shiftJis = false;
    // The whole array is decoded: a NUL byte must not end the text, as it does when bytes
    // pass as a C string.
    QString text;
    if (decodeUtf8Strictly(bytes, &text) || encoding == Encoding::Utf8)
        return text;
    QString sjisText;
    if (!decodeShiftJisStrictly(bytes, &sjisText))
        return text;
    if (shiftJis)
        *shiftJis = true;
    return sjisText;
}

bool SettingFileText::readLines(const QString &path, QStringList *lines, Encoding encoding, bool *shiftJis)
{
    if (shiftJis)
        *shiftJis = false;
    lines->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    // A file that opens but cannot be read (a folder, an I/O error) is no empty file.
    if (file.error() != QFileDevice::NoError)
        return false;
    QString text = decode(bytes, encoding, shiftJis);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    *lines = text.split(QLatin1Char('\n'));
    // "a\n" splits into "a" and "": the last piece is only a line when text follows the
    // final line end.
    if (!lines->isEmpty() && lines->last().isEmpty())
        lines->removeLast();
    for (QString &line : *lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return true;
}

bool SettingFileText::isBlank(const QString &line)
{
    return line.trimmed().isEmpty();
}

QString SettingFileText::field(const QStringList &fields, int index)
{
    return index >= 0 && index < fields.size() ? fields.at(index) : QString();
}

int SettingFileText::toInt(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}

bool SettingFileText::writeAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Without commit() the temporary file is discarded and the old file stays. commit()
    // does not notice a failure of the final flush of its write buffer (a full disk), so
    // the flush is checked here first.
    if (file.write(bytes) != bytes.size() || !file.flush())
        return false;
    return file.commit();
}

bool SettingFileText::promote(const QString &pending, const QString &committed)
{
    if (!QFileInfo(pending).isFile())
        return true;
    // rename() replaces an existing target atomically; removing the target first would
    // leave no file at all when the move then fails.
    return std::rename(QFile::encodeName(pending).constData(),
                       QFile::encodeName(committed).constData()) == 0;
}

bool SettingFileText::removeFile(const QString &path)
{
    QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    return QFile::remove(path);
}
