#include "storage/AlertSettingFile.h"

#include "core/ConstantTables.h"
#include "core/SharedTypes.h"
#include "monitor/LevelChecker.h"
#include "platform/PlatformPaths.h"
#include "storage/SettingFileText.h"

#include <QFileInfo>
#include <QStringList>

namespace {

constexpr int MinimumRowFields = 6;
constexpr int FullRowFields = 9;

QString without(QString text, QChar mark)
{
    return text.remove(mark);
}

} // namespace

QString AlertSettingFile::folderPath()
{
    return PlatformPaths::toLocal(
        QStringLiteral("C:\\VELMORA\\NRT52\\InternalReadOnly\\CheckerSettings\\AlertSetting"));
}

QString AlertSettingFile::fileName(int deviceNo, Copy copy)
{
    return copy == Copy::Pending ? QStringLiteral("alert_%1_new.csv").arg(deviceNo)
                                 : QStringLiteral("alert_%1.csv").arg(deviceNo);
}

QString AlertSettingFile::filePath(int deviceNo, Copy copy)
{
    return folderPath() + QLatin1Char('/') + fileName(deviceNo, copy);
}

QString AlertSettingFile::headerLine()
{
    return QStringLiteral("'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER,HikariLevelMin,"
                          "HikariLevelMax,ConvertCNR");
}

bool AlertSettingFile::exists(int deviceNo, Copy copy)
{
    return QFileInfo(filePath(deviceNo, copy)).isFile();
}

bool AlertSettingFile::removeCopy(int deviceNo, Copy copy)
{
    return SettingFileText::removeFile(filePath(deviceNo, copy));
}

bool AlertSettingFile::read(const QString &path, QVector<AlertSettingRow> *rows)
{
    rows->clear();
    QStringList lines;
    if (!SettingFileText::readLines(path, &lines))
        return false;

    const QChar less(QLatin1Char('<'));
    const QChar greater(QLatin1Char('>'));
    bool headerSeen = false;
    bool olderLayout = false;
    for (const QString &line : qAsConst(lines)) {
        // A blank line is no header and must not switch the layout of the lines after it.
        if (SettingFileText::isBlank(line))
            continue;
        const QStringList fields = line.split(QLatin1Char(','));
        if (!headerSeen) {
            headerSeen = true;
            olderLayout = fields.size() < FullRowFields;
            continue;
        }
        if (fields.size() < MinimumRowFields)
            continue;
        if (fields.size() < FullRowFields)
            olderLayout = true;

        AlertSettingRow row;
        row.bandTabIndex = SettingFileText::toInt(fields.at(0));
        row.channel = without(fields.at(1), QLatin1Char(' '));
        row.levelMin = without(fields.at(2), less);
        row.levelMax = without(fields.at(3), greater);
        row.merCn = without(fields.at(4), less);
        row.ber = without(fields.at(5), greater);
        if (olderLayout) {
            row.hikariLevelMin = QStringLiteral("-10.0");
            row.hikariLevelMax = QStringLiteral("0.0");
            row.convertCnr = row.bandTabIndex == BandTerrestrial || row.bandTabIndex == BandCatv
                                 ? QStringLiteral("21.0")
                                 : QStringLiteral("---");
        } else {
            row.hikariLevelMin = without(fields.at(6), less);
            row.hikariLevelMax = without(fields.at(7), greater);
            row.convertCnr = without(fields.at(8), less);
        }
        rows->append(row);
    }
    return true;
}

QByteArray AlertSettingFile::fileContent(const QVector<AlertSettingRow> &rows)
{
    QString text = headerLine() + QLatin1Char('\n');
    for (const AlertSettingRow &row : rows) {
        const QStringList fields {
            QString::number(row.bandTabIndex),
            row.channel,
            row.levelMin,
            row.levelMax,
            row.merCn,
            row.ber,
            row.hikariLevelMin,
            row.hikariLevelMax,
            row.convertCnr,
        };
        text += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

bool AlertSettingFile::write(const QString &path, const QVector<AlertSettingRow> &rows)
{
    return SettingFileText::writeAtomically(path, fileContent(rows));
}

int AlertSettingFile::bandTabIndexOfName(const QString &bandName)
{
    QString name = bandName;
    if (name == QStringLiteral("地デジ(換算)"))
        name = BandNameTable.value(BandTerrestrial);
    else if (name == QStringLiteral("CATV(換算)"))
        name = BandNameTable.value(BandCatv);
    for (auto it = BandNameTable.cbegin(); it != BandNameTable.cend(); ++it) {
        if (it.value() == name)
            return it.key();
    }
    return 0;
}

bool AlertSettingFile::promote(int deviceNo)
{
    return SettingFileText::promote(filePath(deviceNo, Copy::Pending),
                                    filePath(deviceNo, Copy::Committed));
}

bool AlertSettingFile::loadCommitted(LevelChecker *device, int deviceNo)
{
    QVector<AlertSettingRow> rows;
    if (!device || !read(filePath(deviceNo), &rows))
        return false;
    applyTo(device, rows);
    return true;
}

void AlertSettingFile::applyTo(LevelChecker *device, const QVector<AlertSettingRow> &rows)
{
    if (!device)
        return;
    device->clearAlertSettings();
    for (const AlertSettingRow &row : rows)
        device->addAlertSetting(row);
}
