// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/quit_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The pipe's writing end for the handler; -1 while no object has the signals.
// A lock-free atomic is safe to read in a signal handler.
std::atomic<int> writingEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnQuitSignal(int number) {
    const int savedErrno = errno;
    const int end = writingEnd.load(std::memory_order_relaxed);
    if (end >= 0) {
        const unsigned char byte = static_cast<unsigned char>(number);
        // A full pipe already holds a wake-up; nothing is lost by dropping this one.
        [[maybe_unused]] const ssize_t written = ::write(end, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

QuitSignals::QuitSignals(std::function<void()> quit) : m_quit(std::move(quit)) {
    if (writingEnd.load() >= 0 || ::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_pipe[0] = m_pipe[1] = -1;
        return;
    }
    m_notifier =
        std::make_unique<QSocketNotifier>(static_cast<qintptr>(m_pipe[0]), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
        unsigned char bytes[64];
        while (::read(m_pipe[0], bytes, sizeof bytes) > 0) {
        }
        m_quit();
    });
    writingEnd.store(m_pipe[1]);
    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], &action, &m_previous[i]);
    }
}

QuitSignals::~QuitSignals() {
    if (m_notifier == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], &m_previous[i], nullptr);
    }
    writingEnd.store(-1);
    m_notifier.reset();
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}
