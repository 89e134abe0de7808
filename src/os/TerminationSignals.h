#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace vorlo {

// Turns SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, a closed terminal) into a call on the thread that
// installed it, through its event loop. The signal handler itself only writes one byte to a socket pair (all it
// does is async-signal-safe) and gives the three signals back their default action: should the process not end
// in time on the first, a second one ends it at once instead of being lost.
//
// One per process; the user-interface thread installs it and gets the calls.
class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(std::function<void(int signalNumber)> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the socket pair could not be made: the signals then keep their default action.
    bool installed() const { return notifier_ != nullptr; }

private:
    void readSignals();

    std::function<void(int)> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vorlo
