#pragma once

// How one SNMP exchange ended; LevelChecker::sendRequest returns it as an int.
enum class SendResult : int {
    Replied = 0, // a reply was read (also after a failed wait)
    NotSent = 1,
    NoAnswer = 2 // nothing arrived within the wait
};
