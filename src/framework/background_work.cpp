// SPDX-License-Identifier: GPL-2.0-or-later
#include "framework/background_work.h"

#include <QMetaObject>
#include <QObject>

#include <utility>

namespace fw {

BackgroundWork::BackgroundWork()
    : m_receiver(std::make_unique<QObject>()), m_thread([this] { Loop(); }) {}

BackgroundWork::~BackgroundWork() {
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
        m_hasTask = false;
        if (m_runningStop) {
            *m_runningStop = true;
        }
    }
    m_wake.notify_one();
    m_thread.join();
    // Answers still queued for the receiver go with it.
    m_receiver.reset();
}

void BackgroundWork::Start(Job job) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_runningStop) {
            *m_runningStop = true;
        }
        m_waiting = Task{std::move(job), std::make_shared<std::atomic<bool>>(false), ++m_serial};
        m_hasTask = true;
    }
    m_busy = true;
    m_wake.notify_one();
}

void BackgroundWork::Cancel() {
    {
        const std::lock_guard lock(m_mutex);
        if (m_runningStop) {
            *m_runningStop = true;
        }
        m_hasTask = false;
        m_waiting = Task{};
        ++m_serial;
    }
    m_busy = false;
}

void BackgroundWork::Loop() {
    for (;;) {
        Task task;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || m_hasTask; });
            if (m_quit) {
                return;
            }
            task = std::move(m_waiting);
            m_waiting = Task{};
            m_hasTask = false;
            m_runningStop = task.stop;
        }
        Answer answer;
        try {
            answer = task.job(*task.stop);
        } catch (...) {
            // A job reports its own failures in its answer; one that escapes
            // still ends the busy state, with nothing to show.
            answer = nullptr;
        }
        {
            const std::lock_guard lock(m_mutex);
            m_runningStop.reset();
            if (m_quit || *task.stop) {
                continue;
            }
        }
        // Queued to the window's thread; the serial decides there, where it
        // is written, whether a newer job has come since.
        QMetaObject::invokeMethod(
            m_receiver.get(),
            [this, serial = task.serial, answer = std::move(answer)] {
                if (serial != m_serial) {
                    return;
                }
                m_busy = false;
                if (answer) {
                    answer();
                }
            },
            Qt::QueuedConnection);
    }
}

} // namespace fw
