#pragma once

#include "monitor/AlertRecord.h"
#include "monitor/ChannelResultRow.h"
#include "monitor/ChannelSettingRow.h"

#include <QString>
#include <QStringList>

class DeviceList;
class LevelChecker;
class MeasureResultModel;

// The operator's two CSV saves from the result list: the stored result history of the
// channels ticked in the list, and the alert records of the channels ticked in the status
// popup. Shift-JIS, LF line ends, fields joined by "," without quoting. Devices come in
// ascending device number whatever the list's order; within a device, in plan order.
class ResultSaveWriter
{
public:
    enum class Outcome { Written, OpenFailed, WriteFailed };

    static QString channelResultHeader();
    static QString errorHeader();

    // One line of the channel-result file (no line end).
    static QString channelResultLine(int deviceNo, const QString &name, const ChannelResultRow &result,
                                     const ChannelSettingRow &plan);
    // One line of the error file (no line end).
    static QString errorLine(int deviceNo, const QString &name, const AlertRecord &record);
    // "接続エラー" alone, or "「レベル」「MER/CN」「BER」「光レベル」" for the flags set.
    static QString errorItems(const AlertRecord &record);

    // The data lines of the ticked channels (checkbox 1 on channel rows).
    static QStringList channelResultLines(const MeasureResultModel &model, const DeviceList &devices);
    // The data lines of the rows ticked in the status popup.
    static QStringList errorLines(const MeasureResultModel &model, const DeviceList &devices);

    // Rows counted by the two check slots before the save dialog opens.
    static int tickedChannelRowCount(const MeasureResultModel &model);
    static int tickedPopupRowCount(const MeasureResultModel &model);

    // The local path of what the save dialog returns: a "file:" URL is decoded; any other
    // text is taken as a path as it is.
    static QString localPath(const QString &dialogText);

    // Writes the header and the lines, replacing the file only when everything was written.
    static Outcome writeFile(const QString &path, const QString &header, const QStringList &lines);

private:
    enum class Selection { ListTick, PopupTick };
    static QStringList collectLines(const MeasureResultModel &model, const DeviceList &devices,
                                    Selection selection);
};
