#pragma once

#include "core/SharedTypes.h"
#include "screens/WorkLogEntry.h"

#include <QDateTime>
#include <QString>

// The daily work history "WORK_LOG\yyyyMMdd.csv": Shift-JIS, CR LF, a header line in a
// new file. Uses no view-model state, so main and every screen call it alike.
class WorkLog
{
public:
    // Appends one line stamped with the current local time, whole or not at all. A failure
    // is not the caller's: each episode of lost lines is told to the application log.
    static void writeWorkLog(const WorkLogEntry &entry, WorkLogKind kind);

    // As writeWorkLog, with the moment given: it names the file and stamps the line, so a
    // line is always in the file of its own date.
    static void writeWorkLogAt(const QDateTime &now, const WorkLogEntry &entry, WorkLogKind kind);

    // The message text after the time and ",": empty for an unknown kind.
    static QString messageText(const WorkLogEntry &entry, WorkLogKind kind);

    static QString folderPath();
};
