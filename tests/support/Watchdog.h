#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace tolm::test {

// Ends the test program, naming the step it was at, when the code under
// test has not come back within `limit`: a read that blocks for good (a FIFO
// without a writer) then fails the test instead of hanging the suite.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : m_thread([this, limit] { watch(limit); })
    { }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void step(std::string what)
    {
        std::lock_guard lock(m_mutex);
        m_step = std::move(what);
    }

private:
    void watch(std::chrono::seconds limit)
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, limit, [this] { return m_done; }))
            return;
        std::fprintf(stderr, "still waiting after %lld s at: %s\n", static_cast<long long>(limit.count()),
            m_step.c_str());
        std::_Exit(1);
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done { false };
    std::string m_step { "the start" };
    std::thread m_thread;
};

} // namespace tolm::test
