// SPDX-License-Identifier: GPL-2.0-or-later
// Work off the window's thread: only the newest job's answer reaches the
// window's thread, an older job is told to stop, and a cancelled answer is
// never delivered, however far it had got.
#include "framework/background_work.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Waits on the test's thread without running its event loop.
bool WaitFor(const std::atomic<bool>& flag) {
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (!flag && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(1ms);
    }
    return flag;
}

TEST(BackgroundWork, OnlyTheNewestJobAnswersAndTheOneItReplacedIsToldToStop) {
    fw::BackgroundWork work;
    std::vector<std::string> delivered;
    std::atomic<bool> firstRunning = false;
    std::atomic<bool> firstStopped = false;
    work.Start([&](const std::atomic<bool>& stop) -> fw::BackgroundWork::Answer {
        firstRunning = true;
        WaitFor(stop);
        firstStopped = stop.load();
        return [&] { delivered.push_back("first"); };
    });
    ASSERT_TRUE(WaitFor(firstRunning));
    // A job that never runs: the third replaces it while the first still runs.
    work.Start([&](const std::atomic<bool>&) -> fw::BackgroundWork::Answer {
        return [&] { delivered.push_back("second"); };
    });
    work.Start([&](const std::atomic<bool>&) -> fw::BackgroundWork::Answer {
        return [&] { delivered.push_back("third"); };
    });
    EXPECT_TRUE(work.Busy());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !work.Busy(); }, 5000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(firstStopped);
    EXPECT_EQ(delivered, std::vector<std::string>{"third"});
}

TEST(BackgroundWork, ACancelledAnswerIsNeverDeliveredWhereverItWas) {
    for (const bool waitForReturn : {false, true}) {
        SCOPED_TRACE(waitForReturn ? "cancelled after the job returned" : "cancelled while it ran");
        fw::BackgroundWork work;
        bool delivered = false;
        std::atomic<bool> running = false;
        std::atomic<bool> release = false;
        work.Start([&](const std::atomic<bool>&) -> fw::BackgroundWork::Answer {
            running = true;
            WaitFor(release);
            return [&] { delivered = true; };
        });
        ASSERT_TRUE(WaitFor(running));
        if (waitForReturn) {
            release = true;
            std::this_thread::sleep_for(50ms); // its answer is queued by now, as a rule
            work.Cancel();
        } else {
            work.Cancel();
            release = true;
        }
        EXPECT_FALSE(work.Busy());
        QTest::qWait(100);
        EXPECT_FALSE(delivered);
    }
}

} // namespace
