#pragma once

#include "monitor/ParallelTask.h"

#include <QString>

#include <atomic>

class SystemLog;

// The idle receiver worker on the "Trap Receiver" thread: its thread ticks, its work does
// nothing. Only the stop request ever reaches it.
class SNMPReceiver : public ParallelTask
{
    Q_OBJECT

public:
    SNMPReceiver(const int &logLevel, SystemLog *log, QObject *parent = nullptr);

    bool isReceiving() const { return receiving.load(); }

public slots:
    void onRequestToStartReceiving();
    void onRequestToStopReceiving();
    void work() override;

signals:
    void notifyStart();
    void notifyStop();
    void notifyResponse(uint index, QString response);

private:
    const int logLevel;                    // kept as given; nothing filters on it
    std::atomic<bool> receiving { false };
};
