#pragma once

#include "core/SharedTypes.h"

#include <QMap>
#include <QString>

// The shared constant tables. Each is built once during static initialisation and never
// changed; being const, a lookup can never insert a key. Look up with value() or
// ConstantTables::lookup: an absent key gives the empty text or 0.
extern const QMap<int, QString> BandNameTable;           // BandTabIndex -> full band name
extern const QMap<int, QString> BandShortNameTable;      // BandTabIndex -> short name ("!" in band 6)
extern const QMap<int, QString> BandShortName110Table;   // BandTabIndex -> short name, "110°CS"
extern const QMap<int, QString> BroadcastStandardTable;  // BandTabIndex -> broadcasting standard
extern const QMap<int, QString> PolarizationTable;       // BandTabIndex -> polarisation
extern const QMap<bool, QString> StartStopTextTable;     // true "開始", false "停止"
extern const QMap<int, QString> WorkLogFormatTable;      // WorkLogKind -> message format
extern const QMap<int, QString> ScreenNameTable;         // ScreenId -> name in the work history
extern const QMap<QString, BandTabIndex> BandCodeTable;  // device band code -> BandTabIndex
extern const QMap<int, QString> LocalFrequencyTextTable; // local oscillator kHz -> GHz text
extern const QMap<QString, int> StandardCodeTable;       // "ISDBT" 0, "ISDBC" 3
extern const QMap<QString, int> MerCnrTable;             // "MER" 0, "CNR" 1

class ConstantTables
{
public:
    // The value of key, or a default-constructed value (empty text, 0) when absent.
    template <typename Key, typename Value, typename Arg>
    static Value lookup(const QMap<Key, Value> &table, const Arg &key)
    {
        return table.value(Key(key), Value());
    }
};
