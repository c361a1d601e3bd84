#pragma once

#include <QObject>

// The operator's input that an operation's waits held back (they let every other event
// through) is dropped at the operation's end instead of being delivered afterwards: by then
// the pop-up it was aimed at has changed or its screen is gone, and a click meant for the
// pop-up's OK or for HOME would act on the screen the operation returned to.
class HeldInputDrop : public QObject
{
    Q_OBJECT
public:
    // Delivers every pending event except the operator's input, which is thrown away. Called
    // at an operation's end, before its gate scope closes and anything queued behind it runs.
    static void now();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HeldInputDrop() = default;
};
