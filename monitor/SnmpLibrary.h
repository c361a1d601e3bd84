#pragma once

#include <QString>

#include <mutex>

// Start-up of the SNMP library, once per process, in the GUI thread before any worker
// thread exists: the library is not reentrant, so its configuration and MIB tree are only
// read after this. Opening and closing sessions touch library globals too; every open and
// close goes through sessionMutex().
class SnmpLibrary
{
public:
    // Initialises the library and loads the device module "VEDIRUDO-ZER" from mibFolder
    // (a local path). True when the module's objects are in the MIB tree. Only the first
    // call does anything; later calls return its result.
    static bool start(const QString &mibFolder);
    static bool isStarted();
    // Whether the first start() found the module.
    static bool isModuleLoaded();

    static std::recursive_mutex &sessionMutex();
};
