#include "storage/DeviceRowCheck.h"

#include "storage/DeviceChoiceTables.h"

#include <QStringList>
#include <QTime>

namespace {

bool isChoice(const QMap<QString, int> &table, const QString &text)
{
    return !text.isEmpty() && table.contains(text);
}

bool isTime(const QString &text)
{
    return !DeviceRowCheck::timeText(text).isEmpty();
}

bool isDecimal(const QString &text)
{
    if (text.isEmpty() || text.size() > 3)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

int DeviceRowCheck::octetValue(const QString &part)
{
    QString digits = part;
    digits.remove(QLatin1Char(' '));
    bool ok = false;
    const int value = digits.toInt(&ok);
    return ok ? value : 0;
}

bool DeviceRowCheck::octetAllowed(int position, int value)
{
    if (position == 0)
        return value >= 1 && value <= 223;
    return position <= 3 && value >= 0 && value <= 255;
}

int DeviceRowCheck::addressProblem(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    for (int k = 0; k < 4; ++k) {
        if (k >= parts.size())
            return BadOtherOctet;
        if (!octetAllowed(k, octetValue(parts.at(k))))
            return k == 0 ? BadFirstOctet : BadOtherOctet;
    }
    return parts.size() == 4 ? AddressValid : BadOtherOctet;
}

QString DeviceRowCheck::timeText(const QString &text)
{
    return QTime::fromString(text, QStringLiteral("h:m")).toString(QStringLiteral("hh:mm"));
}

QString DeviceRowCheck::fileRowProblem(const QString &address, int port, const QString &inputType,
                                       const QString &cycleInterval, const QString &startTime,
                                       const QString &endTime)
{
    QStringList problems;
    if (!address.isEmpty() && address != QLatin1String("0.0.0.0")) {
        const QStringList parts = address.split(QLatin1Char('.'));
        bool digits = parts.size() == 4;
        for (const QString &part : parts)
            digits = digits && isDecimal(part);
        if (!digits || addressProblem(address) != AddressValid)
            problems.append(QStringLiteral("address \"%1\"").arg(address));
    }
    if (port < 1 || port > 65535)
        problems.append(QStringLiteral("port %1").arg(port));
    if (!isChoice(inputTypeMap, inputType))
        problems.append(QStringLiteral("input type \"%1\"").arg(inputType));
    if (!isChoice(cycleIntervalMap, cycleInterval))
        problems.append(QStringLiteral("cycle \"%1\"").arg(cycleInterval));
    const bool window = startTime == always() ? (endTime == always() || isTime(endTime))
                                              : isTime(startTime) && isTime(endTime);
    if (!window)
        problems.append(QStringLiteral("alert window \"%1\"-\"%2\"").arg(startTime, endTime));
    return problems.join(QStringLiteral(", "));
}

QString DeviceRowCheck::boundedName(const QString &name)
{
    if (name.size() <= MaxNameLength)
        return name;
    int length = MaxNameLength;
    if (name.at(length - 1).isHighSurrogate())
        --length;
    return name.left(length);
}
