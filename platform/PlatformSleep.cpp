#include "platform/PlatformSleep.h"

#include <QThread>

void PlatformSleep::sleepMs(unsigned long milliseconds)
{
    QThread::msleep(milliseconds);
}
