#include "screens/HeldInputDrop.h"

#include <QCoreApplication>
#include <QEvent>

void HeldInputDrop::now()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return;
    HeldInputDrop filter;
    application->installEventFilter(&filter);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    application->removeEventFilter(&filter);
}

bool HeldInputDrop::eventFilter(QObject *watched, QEvent *event)
{
    // Only what came from the window system: events the program sends itself pass.
    if (!event->spontaneous())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
