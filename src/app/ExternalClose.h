#pragma once
// The end of the desktop session, SIGTERM and SIGHUP close the window the
// way its close box does: the unload handler writes the files and the
// program ends normally, releasing the folder's lock. Without this a logout
// or a `kill` would lose every change made since the start and leave the
// lock behind.

#include <QObject>

#include <csignal>

class QSocketNotifier;
class QWidget;

namespace vm::app {

// In force while the object lives (one at a time); the signals' previous
// handling comes back when it goes. A signal only writes a byte to a pipe;
// the window is closed from the event loop, once it is between events:
// a box waiting for an answer (a question, the error report) is closed as
// its Escape key would (so a question is answered Cancel and nothing is
// done), and a procedure still running is let finish. The close is then
// watched to its end: a box it brings up (the report of a save that
// failed, which the error module logs as always) is closed the same way,
// and should the window still be there a few seconds later, the event
// loops are ended, so that the program ends and releases the folder's lock
// whatever happens. Further requests while one is under way change nothing.
class ExternalClose : public QObject {
public:
    explicit ExternalClose(QWidget& window);
    ~ExternalClose() override;
    ExternalClose(const ExternalClose&) = delete;
    ExternalClose& operator=(const ExternalClose&) = delete;

private:
    void requested();
    void closeWhenIdle();
    void watchClose();

    QWidget& window_;
    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction previousTerm_ {};
    struct sigaction previousHup_ {};
    bool underWay_ = false;
    bool shown_ = false;
    int waits_ = 0;
};

}  // namespace vm::app
