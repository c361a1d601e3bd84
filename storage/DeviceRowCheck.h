#pragma once

#include <QString>

// The checks the device setting screen makes on a device row, for every way a row comes in:
// typed on the screen, read from the registration file at start-up, or imported from a
// device list.
class DeviceRowCheck
{
public:
    // The screen's pop-up numbers for a refused address.
    enum AddressProblem { AddressValid = 0, BadFirstOctet = 8, BadOtherOctet = 9 };

    // The time text of an alert window that is always open.
    static QString always() { return QStringLiteral("常時"); }
    // A device name is at most this many characters long (the screen's field).
    static constexpr int MaxNameLength = 8;

    // A part of an address text as a number: blanks removed, 0 when it is no number.
    static int octetValue(const QString &part);
    // Whether value may stand at position (0-3) of an address: first 1-223, others 0-255.
    static bool octetAllowed(int position, int value);
    // The pop-up an address text earns on the screen: AddressValid, or the octet that is out
    // of range (first 1-223, others 0-255). A text that is not four parts is never read past
    // its parts.
    static int addressProblem(const QString &text);

    // "h:m" as "hh:mm"; empty when it is no time.
    static QString timeText(const QString &text);

    // What is wrong with a row from a file, in a few words for the log; empty when the screen
    // would take it as it stands. A file's address is four decimal numbers (the screen's
    // mask allows nothing else) or empty or "0.0.0.0" for none; the port 1-65535; input type
    // and cycle one of the screen's choices; the alert window "常時" or a start and an end
    // time ("常時" keeps whatever end it had).
    static QString fileRowProblem(const QString &address, int port, const QString &inputType,
                                  const QString &cycleInterval, const QString &startTime,
                                  const QString &endTime);

    // name cut to MaxNameLength characters (never inside a surrogate pair).
    static QString boundedName(const QString &name);
};
