#pragma once

// The objects of the level checker's MIB module VEDIRUDO-ZER that the program reads and
// writes, as suffixes below EnterprisePrefix; every object is a scalar (instance ".0").
struct SnmpObject
{
    static constexpr const char *EnterprisePrefix = ".1.3.6.1.4.1.52817.1.70.";
    static constexpr const char *Instance = ".0";

    // Device identity, read together in one GET.
    static constexpr int InformationCount = 8;
    static constexpr const char *Information[InformationCount] = {
        "1.2", "1.3", "1.4.1", "1.4.2", "1.4.3", "1.4.4", "1.4.5", "1.4.6",
    };

    // Device-wide configuration (SET, integer).
    static constexpr const char *InputType = "2.2";        // 0 coaxial, 1 optical
    static constexpr const char *C24FrequencyType = "2.4"; // 0 = 231 MHz, 1 = 233 MHz
    static constexpr const char *Ch8FrequencyType = "2.5"; // 0 = 195 MHz, 1 = 191 MHz
    static constexpr const char *Wavelength = "2.6";       // 0..4 = 1300, 1310, 1490, 1550, 1625 nm
    static constexpr const char *TerrestrialMerCn = "2.7.1"; // 0 "MER", 1 "CNR"
    static constexpr const char *CatvMerCn = "2.7.2";        // 0 "MER", 1 "CNR"

    // Channel selection, one SET PDU per channel.
    static constexpr const char *BandCode = "3.1.1";          // s
    static constexpr const char *BroadcastStandard = "3.1.2"; // i: 0 ISDB-T, 1 ISDB-C
    static constexpr const char *Polarisation = "3.1.3";      // i: 0/1 right/left, 2/3 horizontal/vertical
    static constexpr const char *LocalOscillator = "3.1.4";   // i: 0 10.678, 1 11.2, 2 11.3 GHz
    static constexpr const char *Frequency = "3.1.5";         // s: MHz text
    static constexpr const char *Channel = "3.1.6";           // s: channel text, "0" stops measuring

    static constexpr const char *PowerSupply = "3.8"; // i: 1 feed on
    static constexpr const char *Reboot = "3.11";     // i: 1

    // The latest measurement result (lcMeasResult), GET.
    static constexpr const char *MeasResult = "4.1";
};
