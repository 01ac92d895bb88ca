#include "ExternalClose.h"

#include "failsafe/FailSafeState.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

namespace vm::app {

namespace {

// The pipe's write end, for the signal handler, which can reach nothing
// else; -1 while no ExternalClose is in force.
volatile std::sig_atomic_t signalPipe = -1;

void noteSignal(int /*signal*/)
{
    const int savedErrno = errno;
    const int fd = signalPipe;
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);  // a full pipe holds requests enough
    }
    errno = savedErrno;
}

// Takes `signal` over unless it is ignored (a program started with nohup
// keeps running when its terminal goes); `previous` is what to put back.
void takeOver(int signal, struct sigaction& previous)
{
    ::sigaction(signal, nullptr, &previous);
    if (previous.sa_handler == SIG_IGN)
        return;
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

constexpr int kWaitMs = 50;
// A procedure that is still running after this many waits (5 s) is not
// waited for any longer: the files matter more than a tidy trace. A close
// still under way after as many more has its event loops ended.
constexpr int kMostWaits = 100;

// Closes the box that waits for an answer, as its Escape key would; true when there was one.
bool closeBoxOnScreen()
{
    QWidget* box = QApplication::activeModalWidget();
    if (!box)
        return false;
    box->close();
    if (auto* dialog = qobject_cast<QDialog*>(box); dialog && dialog->isVisible())
        dialog->reject();
    return true;
}

}  // namespace

ExternalClose::ExternalClose(QWidget& window) : window_(window)
{
    connect(
        qGuiApp, &QGuiApplication::commitDataRequest, this, [this] { requested(); }, Qt::DirectConnection);
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        return;  // the signals keep their usual effect
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[64];
        while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
        }
        requested();
    });
    signalPipe = pipe_[1];
    takeOver(SIGTERM, previousTerm_);
    takeOver(SIGHUP, previousHup_);
}

ExternalClose::~ExternalClose()
{
    if (!notifier_)
        return;
    ::sigaction(SIGTERM, &previousTerm_, nullptr);
    ::sigaction(SIGHUP, &previousHup_, nullptr);
    signalPipe = -1;
    delete notifier_;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void ExternalClose::requested()
{
    if (underWay_)
        return;
    underWay_ = true;
    closeWhenIdle();
}

void ExternalClose::closeWhenIdle()
{
    if (window_.isVisible())
        shown_ = true;
    else if (shown_)
        return;  // closed meanwhile
    const bool box = closeBoxOnScreen();
    // A window still loading is closed once it is on screen; a procedure
    // still running is let finish first.
    const bool busy = box || !shown_ || failsafe::state().stack.depth > 0 || QThread::currentThread()->loopLevel() > 1;
    if (busy && (!shown_ || ++waits_ <= kMostWaits)) {
        QTimer::singleShot(kWaitMs, this, &ExternalClose::closeWhenIdle);
        return;
    }
    // Watched from within the close, whose unload handler may wait on a box.
    waits_ = 0;
    QTimer::singleShot(kWaitMs, this, &ExternalClose::watchClose);
    window_.close();
}

void ExternalClose::watchClose()
{
    if (!window_.isVisible())
        return;
    closeBoxOnScreen();
    if (++waits_ > kMostWaits) {
        QCoreApplication::exit(0);
        return;
    }
    QTimer::singleShot(kWaitMs, this, &ExternalClose::watchClose);
}

}  // namespace vm::app
