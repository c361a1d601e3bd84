#include "monitor/SNMPReceiver.h"

#include "core/SystemLog.h"

SNMPReceiver::SNMPReceiver(const int &logLevel, SystemLog *log, QObject *parent)
    : ParallelTask(log, parent)
    , logLevel(logLevel)
{
    setObjectName(QStringLiteral("SNMPReceiver"));
}

void SNMPReceiver::onRequestToStartReceiving()
{
    receiving.store(true);
    ParallelTask::start();
    emit notifyStart();
}

void SNMPReceiver::onRequestToStopReceiving()
{
    receiving.store(false);
    if (log)
        log->write(objectName(), QStringLiteral("### snmp monitoring thread is suspended."), 0);
}

void SNMPReceiver::work()
{
}
