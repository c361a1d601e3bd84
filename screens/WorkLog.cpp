#include "screens/WorkLog.h"

#include "core/ConstantTables.h"
#include "core/SystemLog.h"
#include "platform/AppendLossEpisodes.h"
#include "platform/PlatformPaths.h"
#include "platform/WholeLineAppend.h"

#include <QDir>
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

    // Line ends are written here: the history is read on Windows and must have CR LF.
    // Characters without a Shift-JIS form become "?"; the line is still written.
    QTextCodec *codec = QTextCodec::codecForName("Shift-JIS");
    auto bytesOf = [codec](const QString &text) {
        return codec ? codec->fromUnicode(text) : text.toLocal8Bit();
    };
    const QByteArray line = bytesOf(now.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")) + QLatin1Char(',')
                                    + messageText(entry, kind) + QStringLiteral("\r\n"));
    auto head = [&bytesOf] { return bytesOf(QStringLiteral("日時,対象機器No,作業履歴,BAND,CHANNEL\r\n")); };

    // The work history has no caller to answer to: its gaps go to the application log.
    static AppendLossEpisodes episodes([](const QString &message) {
        SystemLog::instance()->write(QStringLiteral("WorkLog"), message, LogNormal);
    });
    QString reason;
    if (WholeLineAppend::appendToPath(path, head, line, &reason))
        episodes.written(path);
    else
        episodes.lost(path, reason);
}
