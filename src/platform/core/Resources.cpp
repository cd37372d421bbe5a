#include "platform/core/Resources.h"

#include "platform/core/EmbeddedResource.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <mutex>

namespace platform::core {
namespace {

struct Table {
    std::mutex lock;
    std::deque<ResourceEntry> entries; // deque: entries keep their address when it grows
    unsigned long long registrations = 0;
};

Table& TheTable() {
    static Table table; // built on first use, so registration order between files is safe
    return table;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

} // namespace

bool RegisterEmbeddedResource(const char* name, const char* type, const unsigned char* data,
                              std::size_t size) {
    return RegisterResource(name, type, data, size);
}

bool RegisterResource(std::string_view name, std::string_view type, const unsigned char* data,
                      size_t size) {
    Table& t = TheTable();
    std::lock_guard guard(t.lock);
    for (ResourceEntry& e : t.entries) {
        if (SameText(e.name, name) && SameText(e.type, type)) {
            e.data = data;
            e.size = size;
            e.serial = ++t.registrations;
            return true;
        }
    }
    t.entries.push_back(
        ResourceEntry{std::string(name), std::string(type), data, size, ++t.registrations});
    return true;
}

const ResourceEntry* FindResource(std::string_view name, std::string_view type) {
    Table& t = TheTable();
    std::lock_guard guard(t.lock);
    for (const ResourceEntry& e : t.entries)
        if (SameText(e.name, name) && SameText(e.type, type)) return &e;
    return nullptr;
}

std::vector<ResourceEntry> AllResources() {
    Table& t = TheTable();
    std::lock_guard guard(t.lock);
    return {t.entries.begin(), t.entries.end()};
}

} // namespace platform::core
