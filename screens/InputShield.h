#pragma once

#include <QEventLoop>
#include <QObject>

// Held for the length of an operation that shows a progress pop-up: the operator's input
// (clicks, keys, touches) reaches nothing until it ends. The operation's waits let it through
// (waitFlags()) to be thrown away here; held back instead, the window system would deliver
// it after the operation, on whatever the screen shows then, and a click meant for the
// pop-up's OK or for HOME would act on the screen the operation returned to. GUI thread only.
class InputShield : public QObject
{
    Q_OBJECT
public:
    InputShield();
    // Throws away the input given since the operation's last wait, then lets input through.
    ~InputShield() override;

    // What a wait inside an operation processes: every event while a shield is up (its
    // input is thrown away), every event but input otherwise.
    static QEventLoop::ProcessEventsFlags waitFlags();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static int raised;
};
