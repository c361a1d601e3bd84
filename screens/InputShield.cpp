#include "screens/InputShield.h"

#include <QCoreApplication>
#include <QEvent>

int InputShield::raised = 0;

InputShield::InputShield()
{
    if (QCoreApplication *application = QCoreApplication::instance())
        application->installEventFilter(this);
    ++raised;
}

InputShield::~InputShield()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    --raised;
    if (QCoreApplication *application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

QEventLoop::ProcessEventsFlags InputShield::waitFlags()
{
    return raised > 0 ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
}

bool InputShield::eventFilter(QObject *watched, QEvent *event)
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
