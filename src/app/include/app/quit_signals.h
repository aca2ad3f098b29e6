// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// SIGTERM, SIGHUP and SIGINT (a logout, a shutdown, a closed terminal, Ctrl+C)
// end the program the way the user would, so that what it saves at its end is
// saved. The signal handler only writes the signal's number into a pipe; the
// event loop watches the pipe's other end and calls `quit` from there, where
// anything may be done.

#include <QSocketNotifier>

#include <csignal>
#include <functional>
#include <memory>

class QuitSignals {
public:
    // Takes the three signals over; at most one object at a time may.
    explicit QuitSignals(std::function<void()> quit);
    // Gives the signals their earlier handling back.
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    // Whether the signals were taken over (false: a pipe could not be made).
    bool Active() const { return m_notifier != nullptr; }

private:
    std::function<void()> m_quit;
    int m_pipe[2] = {-1, -1};
    struct sigaction m_previous[3] = {};
    std::unique_ptr<QSocketNotifier> m_notifier;
};
