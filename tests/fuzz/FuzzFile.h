#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <unistd.h>

// The readers take a path: each input is written to a file of its own below the system's
// temporary folder (a fresh name, so that no reader's cache of an earlier file answers).
class FuzzFile
{
public:
    FuzzFile(const std::uint8_t *data, std::size_t size, const char *suffix)
    {
        static unsigned long serial = 0;
        m_path = QDir::tempPath() + QStringLiteral("/nrt52-fuzz-%1-%2%3")
                                        .arg(::getpid()).arg(++serial).arg(QLatin1String(suffix));
        QFile file(m_path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    ~FuzzFile() { QFile::remove(m_path); }
    FuzzFile(const FuzzFile &) = delete;
    FuzzFile &operator=(const FuzzFile &) = delete;

    const QString &path() const { return m_path; }

private:
    QString m_path;
};
