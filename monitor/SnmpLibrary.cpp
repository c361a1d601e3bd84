#include "monitor/SnmpLibrary.h"

#include <QFile>

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

namespace {
std::mutex startMutex;
bool started = false;
bool moduleLoaded = false;
} // namespace

bool SnmpLibrary::start(const QString &mibFolder)
{
    std::lock_guard<std::mutex> lock(startMutex);
    if (started)
        return moduleLoaded;
    started = true;

    init_snmp("snmp");
    // -1 for a missing folder; the tree check below tells the outcome.
    add_mibdir(QFile::encodeName(mibFolder).constData());
    init_mib();
    // read_module answers with the tree even when the module is not there, so look for
    // one of its objects instead.
    read_module("VEDIRUDO-ZER");
    moduleLoaded = find_tree_node("lcMeasResult", -1) != nullptr;
    return moduleLoaded;
}

bool SnmpLibrary::isStarted()
{
    std::lock_guard<std::mutex> lock(startMutex);
    return started;
}

bool SnmpLibrary::isModuleLoaded()
{
    std::lock_guard<std::mutex> lock(startMutex);
    return moduleLoaded;
}

std::recursive_mutex &SnmpLibrary::sessionMutex()
{
    // Recursive: closing a session runs the reply callback, whose directly connected
    // receivers may send a request of their own in the same thread.
    static std::recursive_mutex mutex;
    return mutex;
}
