#include "screens/SettingFileText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

bool SettingFileText::readLines(const QString &path, QStringList *lines)
{
    lines->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    // A file that opens but cannot be read (a folder, an I/O error) is no empty file.
    if (file.error() != QFileDevice::NoError)
        return false;
    QString text = QString::fromUtf8(bytes);
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
