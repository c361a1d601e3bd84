#include "storage/DeviceChoiceTables.h"

const QMap<QString, int> inputTypeMap {
    { QString(), -1 },
    { QStringLiteral("同軸"), 0 },
    { QStringLiteral("光"), 1 },
};

const QMap<QString, int> cycleIntervalMap {
    { QString(), -1 },
    { QStringLiteral("連続"), 0 },
    { QStringLiteral("5分"), 1 },
    { QStringLiteral("15分"), 2 },
    { QStringLiteral("30分"), 3 },
    { QStringLiteral("60分"), 4 },
};

const QMap<QString, int> hikariWaveLengthMap {
    { QString(), -1 },
    { QStringLiteral("1300"), 0 },
    { QStringLiteral("1310"), 1 },
    { QStringLiteral("1490"), 2 },
    { QStringLiteral("1550"), 3 },
    { QStringLiteral("1625"), 4 },
};

int DeviceChoiceTables::codeOf(const QMap<QString, int> &table, const QString &text)
{
    return table.value(text, 0);
}

QString DeviceChoiceTables::textOf(const QMap<QString, int> &table, int code)
{
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        if (it.value() == code)
            return it.key();
    }
    return QString();
}
