#include "screens/WorkLog.h"

#include "core/ConstantTables.h"
#include "platform/PlatformPaths.h"

#include <QDir>
#include <QFile>
#include <QTextCodec>

QString WorkLog::folderPath()
{
    return PlatformPaths::toLocal(QStringLiteral("C:\\VELMORA\\NRT52\\InternalReadOnly\\WORK_LOG"));
}

QString WorkLog::messageText(const WorkLogEntry &entry, WorkLogKind kind)
{
    const QString format = WorkLogFormatTable.value(kind);
    const QString deviceNo = QString::number(entry.deviceNo);
    // Multi-argument arg(): a "%" inside an inserted text is never substituted again.
    switch (kind) {
    case WorkLogScreenChange:
        return QLatin1Char(',') + format.arg(ScreenNameTable.value(entry.screenId));
    case WorkLogDeviceAdded:
    case WorkLogDeviceNameChanged:
    case WorkLogIpAddressChanged:
    case WorkLogInputTypeChanged:
    case WorkLogWavelengthChanged:
    case WorkLogCycleChanged:
    case WorkLogAlertTimeChanged:
    case WorkLogChannelSettingChanged:
    case WorkLogAutoStart:
        return format.arg(deviceNo);
    case WorkLogSettingsApplied:
    case WorkLogSystemSettingChanged:
    case WorkLogApplicationStarted:
    case WorkLogApplicationEnded:
        return QLatin1Char(',') + format;
    case WorkLogMeasurementStartStop:
    case WorkLogEndedInState:
        return format.arg(deviceNo, StartStopTextTable.value(entry.started));
    case WorkLogErrorCleared:
        return format.arg(deviceNo, entry.band, entry.channel);
    }
    return QString();
}

void WorkLog::writeWorkLog(const WorkLogEntry &entry, WorkLogKind kind)
{
    writeWorkLogAt(QDateTime::currentDateTime(), entry, kind);
}

void WorkLog::writeWorkLogAt(const QDateTime &now, const WorkLogEntry &entry, WorkLogKind kind)
{
    const QString folder = folderPath();
    QDir().mkpath(folder);

    const QString path = folder + QLatin1Char('/') + now.toString(QStringLiteral("yyyyMMdd"))
                         + QStringLiteral(".csv");
    const bool isNew = !QFile::exists(path);

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;

    // Line ends are written here: the history is read on Windows and must have CR LF.
    QString text;
    if (isNew)
        text = QStringLiteral("日時,対象機器No,作業履歴,BAND,CHANNEL\r\n");
    text += now.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")) + QLatin1Char(',')
            + messageText(entry, kind) + QStringLiteral("\r\n");

    // Characters without a Shift-JIS form become "?"; the line is still written.
    QTextCodec *codec = QTextCodec::codecForName("Shift-JIS");
    file.write(codec ? codec->fromUnicode(text) : text.toLocal8Bit());
    file.close();
}
