#pragma once

// The socket layer start-up that precedes any SNMP session. On Windows this is the
// Winsock start; here it only holds one UDP socket bound to an ephemeral port, which
// the device list keeps open for its lifetime.
class SocketLayer
{
public:
    // Returns false when the socket could not be created or bound.
    static bool start();
    static void stop();
    static bool isStarted();
    // The bound ephemeral port, 0 when not started.
    static int boundPort();
};
