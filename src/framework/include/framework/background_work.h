// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Work done off the window's thread: one thread of its own runs a job at a
// time, and each job's answer is handed back to the window's thread by its
// event loop, so that a long search never holds up typing. Starting a job
// asks the one running to stop and replaces one still waiting; only the
// newest job's answer is ever delivered.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QObject;

namespace fw {

class BackgroundWork {
public:
    // What a job gives back: run on the window's thread, if it is still the
    // newest job when the event loop comes to it; may be empty.
    using Answer = std::function<void()>;
    // A job runs on the worker thread; `stop` turns true when a newer job
    // has started or the object is going away, and a job should then return
    // soon (its answer is dropped anyway).
    using Job = std::function<Answer(const std::atomic<bool>& stop)>;

    BackgroundWork();
    // Stops the running job, waits for it to return, and drops every answer.
    ~BackgroundWork();
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    void Start(Job job);
    // Asks the running job to stop, drops the waiting one, and makes sure no
    // answer given before this call is delivered.
    void Cancel();
    // True from Start until the newest job's answer has been delivered (or
    // the job dropped by Cancel).
    bool Busy() const { return m_busy; }

private:
    struct Task {
        Job job;
        std::shared_ptr<std::atomic<bool>> stop;
        unsigned long serial = 0;
    };
    void Loop();

    std::unique_ptr<QObject> m_receiver; // lives on the window's thread
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_quit = false;
    bool m_hasTask = false;
    Task m_waiting;
    std::shared_ptr<std::atomic<bool>> m_runningStop;
    unsigned long m_serial = 0; // the newest job's; read on the window's thread
    bool m_busy = false;
    std::thread m_thread; // last: starts once everything above exists
};

} // namespace fw
