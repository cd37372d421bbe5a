#pragma once
// Work on named things done ahead of their first use: a thread of its own takes the names
// in the order given and does the work for each, while the one who needs a thing asks for
// it first (Await). Names are matched without regard to case, as resource names are.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace platform::core {

class TWorkAhead {
public:
    // Starts the thread, named threadName, at once. What the work throws is dropped. Without a
    // thread to be had no work is done ahead: every Await leaves its thing to the caller.
    TWorkAhead(const std::vector<std::string>& names, std::function<void(const std::string&)> work,
               const char* threadName);
    // Lets the work in hand finish and waits for the thread; what is not begun is dropped.
    ~TWorkAhead();
    TWorkAhead(const TWorkAhead&) = delete;
    TWorkAhead& operator=(const TWorkAhead&) = delete;

    // Returns once the name's work is no longer in hand. True when it was done ahead;
    // false when it is not on the list or was not begun, which the thread then leaves to
    // the caller for good.
    bool Await(std::string_view name);
    // The names on the list nobody has awaited yet, in list order.
    std::vector<std::string> NeverAsked();

private:
    enum class State { Waiting, Working, Done, LeftToCaller };
    struct Entry {
        std::string name;
        std::string key; // upper case
        State state = State::Waiting;
        bool asked = false;
    };
    void Run(const char* threadName);

    std::function<void(const std::string&)> work_;
    std::mutex lock_;
    std::condition_variable done_;
    std::vector<Entry> entries_;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace platform::core
