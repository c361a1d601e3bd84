#pragma once

#include "monitor/SnmpLibrary.h"
#include "platform/PlatformPaths.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A temporary root folder with the device MIB module in its MIB folder, and the SNMP
// library started from there, as the device list does at start-up.
class MonitorTestRoot
{
public:
    bool prepare()
    {
        if (!m_root.isValid())
            return false;
        qputenv("NRT52_ROOT", m_root.path().toUtf8());
        const QString mibFolder = PlatformPaths::mibFolder();
        if (!QDir().mkpath(mibFolder))
            return false;
        const QString source = TestPaths::sourceDir()
                               + QStringLiteral("/sim/VEDIRUDO-ZER");
        if (!QFile::copy(source, mibFolder + QStringLiteral("/VEDIRUDO-ZER")))
            return false;
        return SnmpLibrary::start(mibFolder);
    }

    QString path() const { return m_root.path(); }

private:
    QTemporaryDir m_root;
};
