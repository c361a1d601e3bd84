#pragma once

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

// The session of one request: the settings handed to the library and the handle it
// returned (null before the open and after a failed one).
struct SnmpSessionSlot
{
    netsnmp_session session {};
    void *handle = nullptr;
};
