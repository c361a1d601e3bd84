#include "support/TestFiles.h"

#include "storage/ChannelSettingFile.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCodec>

bool TestFiles::writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray TestFiles::readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString TestFiles::readShiftJis(const QString &path)
{
    return QTextCodec::codecForName("Shift-JIS")->toUnicode(readBytes(path));
}

bool TestFiles::installTemplatePlan()
{
    const QByteArray bytes = readBytes(TestPaths::sourceDir()
                                       + QStringLiteral("/demo/root/InternalReadOnly/CheckerSettings/"
                                                        "MeasurementChannelSetting/user_datalogger_setting_template.csv"));
    return !bytes.isEmpty() && writeBytes(ChannelSettingFile::templatePath(), bytes);
}
