#include "platform/core/WorkAhead.h"

#include <algorithm>
#include <cctype>
#include <pthread.h>
#include <system_error>

namespace platform::core {

namespace {

std::string Key(std::string_view name) {
    std::string key(name);
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

} // namespace

TWorkAhead::TWorkAhead(const std::vector<std::string>& names,
                       std::function<void(const std::string&)> work, const char* threadName)
    : work_(std::move(work)) {
    for (const std::string& name : names) {
        std::string key = Key(name);
        const bool listed = std::any_of(entries_.begin(), entries_.end(),
                                        [&](const Entry& e) { return e.key == key; });
        if (!listed) entries_.push_back(Entry{name, std::move(key)});
    }
    try {
        thread_ = std::thread([this, threadName] { Run(threadName); });
    } catch (const std::system_error&) {
        // No thread to be had: every thing is left to its caller, as without this.
    }
}

TWorkAhead::~TWorkAhead() {
    {
        std::lock_guard guard(lock_);
        stop_ = true;
    }
    if (thread_.joinable()) thread_.join();
}

void TWorkAhead::Run(const char* threadName) {
    pthread_setname_np(pthread_self(), threadName);
    for (Entry& entry : entries_) {
        {
            std::lock_guard guard(lock_);
            if (stop_) return;
            if (entry.state != State::Waiting) continue; // its caller took it on itself
            entry.state = State::Working;
        }
        try {
            work_(entry.name);
        } catch (...) {
            // Work that fails ahead is done again by its caller, who then sees the failure.
        }
        {
            std::lock_guard guard(lock_);
            entry.state = State::Done;
        }
        done_.notify_all();
    }
}

bool TWorkAhead::Await(std::string_view name) {
    const std::string key = Key(name);
    std::unique_lock guard(lock_);
    auto entry = std::find_if(entries_.begin(), entries_.end(),
                              [&](const Entry& e) { return e.key == key; });
    if (entry == entries_.end()) return false;
    entry->asked = true;
    if (entry->state == State::Waiting) entry->state = State::LeftToCaller;
    done_.wait(guard, [&] { return entry->state != State::Working; });
    return entry->state == State::Done;
}

std::vector<std::string> TWorkAhead::NeverAsked() {
    std::lock_guard guard(lock_);
    std::vector<std::string> names;
    for (const Entry& entry : entries_)
        if (!entry.asked) names.push_back(entry.name);
    return names;
}

} // namespace platform::core
