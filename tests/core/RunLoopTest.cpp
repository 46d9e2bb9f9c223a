#include "core/RunLoop.h"
#include "core/DictCache.h"
#include "core/MainQueue.h"
#include "core/NotificationCenter.h"
#include "core/Timer.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace vestrino;

TEST(RunLoop, TimersOnAVirtualClock) {
    auto clock = std::make_shared<VirtualClock>();
    RunLoop loop(clock);
    std::vector<std::string> log;
    auto once =
        Timer::scheduledTimer(loop, seconds(1.5), false, [&](Timer&) { log.push_back("splash"); });
    int ticks = 0;
    Timer::scheduledTimer(loop, seconds(0.5), true, [&](Timer& t) {
        log.push_back("tick");
        if (++ticks == 4) {
            t.invalidate();
        }
    });
    auto cancelled =
        Timer::scheduledTimer(loop, seconds(1.0), false, [&](Timer&) { log.push_back("never"); });
    cancelled->invalidate();

    loop.runOnce();
    EXPECT_TRUE(log.empty());
    for (int i = 0; i < 6; ++i) {
        clock->advance(seconds(0.5));
        loop.runOnce();
    }
    // Timers due at the same time fire in the order they were scheduled.
    EXPECT_EQ(log, (std::vector<std::string>{"tick", "tick", "splash", "tick", "tick"}));
    EXPECT_FALSE(once->isValid());
    EXPECT_EQ(loop.timerCount(), 0u);
    EXPECT_FALSE(loop.nextTimerDate());
}

TEST(RunLoop, WorkPostedFromOtherThreadsRunsInOrderOnTheLoop) {
    RunLoop loop;
    std::vector<int> order;
    std::vector<std::thread::id> threads;
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            loop.post([&, i] {
                order.push_back(i);
                threads.push_back(std::this_thread::get_id());
            });
        }
    });
    worker.join();
    // A task posted by a task runs in a later pass.
    loop.post([&] { loop.post([&] { order.push_back(1000); }); });
    EXPECT_TRUE(loop.runUntil([&] { return order.size() == 101; }, seconds(5)));
    ASSERT_EQ(order.size(), 101u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(order[i], i);
    }
    EXPECT_EQ(order.back(), 1000);
    for (const auto& id : threads) {
        EXPECT_EQ(id, std::this_thread::get_id());
    }
}

TEST(RunLoop, RunUntilSleepsUntilAPostArrives) {
    RunLoop loop;
    bool done = false;
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        loop.post([&] { done = true; });
    });
    EXPECT_TRUE(loop.runUntil([&] { return done; }, seconds(5)));
    late.join();
    EXPECT_FALSE(loop.runUntil([] { return false; }, seconds(0.05)));
}

TEST(NotificationCenter, DeliveredOnTheMainThread) {
    RunLoop::main().adoptCurrentThread();
    RunLoop::main().reset();
    auto& center = NotificationCenter::defaultCenter();
    std::vector<std::pair<std::string, std::thread::id>> got;
    auto a = center.addObserver("uno", [&](const Notification& n) {
        got.emplace_back(n.name, std::this_thread::get_id());
    });
    auto b = center.addObserver("due", [&](const Notification& n) {
        got.emplace_back(n.name + *std::static_pointer_cast<std::string>(n.object),
                         std::this_thread::get_id());
    });
    center.postNotification("uno");
    ASSERT_EQ(got.size(), 1u); // at once on the main thread
    std::thread([&] { center.postNotification("due", std::make_shared<std::string>("!")); }).join();
    EXPECT_EQ(got.size(), 1u); // queued for the main thread
    RunLoop::main().runOnce();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1].first, "due!");
    EXPECT_EQ(got[1].second, std::this_thread::get_id());
    b.reset();
    center.postNotification("due", std::make_shared<std::string>("?"));
    EXPECT_EQ(got.size(), 2u);
}

// An observer removed by an earlier handler of the same notification is not called (its object
// may be gone), and an observation may outlive its center.
TEST(NotificationCenter, RemovedObserversAndAGoneCenter) {
    RunLoop::main().adoptCurrentThread();
    RunLoop::main().reset();
    std::vector<std::string> called;
    NotificationCenter::Observation second;
    {
        NotificationCenter center;
        auto first = center.addObserver("lock", [&](const Notification&) {
            called.push_back("first");
            second.reset(); // as a screen closed by the first one goes
        });
        second =
            center.addObserver("lock", [&](const Notification&) { called.push_back("second"); });
        auto third =
            center.addObserver("lock", [&](const Notification&) { called.push_back("third"); });
        center.postNotification("lock");
        EXPECT_EQ(called, (std::vector<std::string>{"first", "third"}));
        second = center.addObserver("lock", [](const Notification&) {});
    }
    second.reset(); // the center went first: nothing to remove, nothing touched
}

TEST(DictCache, OneLockAroundEveryAccess) {
    DictCache cache;
    cache.setObject("Username_Key", std::string("mario"));
    EXPECT_EQ(cache.objectForKey<std::string>("Username_Key"), "mario");
    EXPECT_FALSE(cache.objectForKey<int>("Username_Key")); // another type: not found
    // Workers and the main thread change the same held list at once.
    cache.setObject("lista", std::make_shared<std::vector<int>>());
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 1000; ++i) {
                cache.with([](DictCache::Entries& e) {
                    std::any_cast<std::shared_ptr<std::vector<int>>&>(e["lista"])->push_back(1);
                });
            }
        });
    }
    for (auto& t : threads) {
        t.join();
    }
    EXPECT_EQ((*cache.objectForKey<std::shared_ptr<std::vector<int>>>("lista"))->size(), 4000u);
    cache.removeAllObjects();
    EXPECT_EQ(cache.count(), 0u);
}

TEST(Clock, TheVirtualClockTellsTheCalendarTimeFromItsStart) {
    VirtualClock clock;
    const auto system =
        std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now());
    // A new clock starts at the machine's date and time.
    EXPECT_LE(std::chrono::abs(clock.wallNow() - system), std::chrono::seconds(5));
    const WallTime may15{std::chrono::milliseconds(1778832000000)};
    clock.advance(seconds(3));
    clock.setWallNow(may15);
    EXPECT_EQ(clock.wallNow(), may15);
    clock.advance(seconds(90));
    EXPECT_EQ(clock.wallNow(), may15 + std::chrono::seconds(90));
    RealClock real;
    EXPECT_LE(std::chrono::abs(real.wallNow() - system), std::chrono::seconds(5));
}

// A backend takes its window down right after removing the wake-up hook: by then no call of the
// hook may still be under way on another thread (it would wake a window that is gone).
TEST(MainQueue, RemovingTheWakeUpHookWaitsForCallsUnderWay) {
    MainQueue queue;
    std::atomic<bool> inside{false}, release{false}, removed{false};
    queue.setWakeUp([&] {
        inside = true;
        while (!release) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    std::thread poster([&] { queue.post([] {}); });
    while (!inside) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::thread remover([&] {
        queue.setWakeUp({});
        removed = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(removed) << "the hook was removed while a call of it was still running";
    release = true;
    poster.join();
    remover.join();
    EXPECT_TRUE(removed);
    queue.post([] {}); // no hook any more: nothing is called
    EXPECT_EQ(queue.runPending(), 2u);
}
