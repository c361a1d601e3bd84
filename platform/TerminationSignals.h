#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (logout, shutdown, a service manager, Ctrl+C) into a Qt
// signal on the thread that created the object, so the program ends through its own close
// path. The handler only writes the signal number into a pipe, which is async-signal-safe;
// a socket notifier reads it in the event loop. One instance per process.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    // Gives the three signals back their default action.
    ~TerminationSignals() override;

    // False when the pipe or a handler could not be set up (the signals then keep their
    // default action).
    bool isInstalled() const { return installed; }

signals:
    // Once: a second signal after it ends the process at once, as the default would.
    void terminationRequested(int signalNumber);

private:
    static void handle(int signalNumber);
    void onReadable();
    static void restoreDefaults();

    int pipeFds[2] = {-1, -1};
    QSocketNotifier *notifier = nullptr;
    bool installed = false;
};
