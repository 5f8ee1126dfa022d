// A self-pipe: the handler may only make async-signal-safe calls.
#include "osdep/end_signals.h"

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace tessaview {

namespace {

int pipeEnds[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    // A full pipe drops a repeated signal, which is fine.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &byte, 1);
}

}  // namespace

int CatchEndSignals() {
    if (pipeEnds[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0)
        return -1;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    return pipeEnds[1];
}

int TakeEndSignals(int descriptor) {
    int count = 0;
    char byte = 0;
    while (::read(descriptor, &byte, 1) == 1) ++count;
    return count;
}

void ReleaseEndSignals() {
    if (pipeEnds[0] < 0) return;
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

}  // namespace tessaview
