#pragma once
// The program's table of embedded resources. Each embedded file registers itself at
// start; lookups match name and type without regard to case, as resource names do.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform::core {

struct ResourceEntry {
    std::string name;
    std::string type;
    const unsigned char* data = nullptr;
    size_t size = 0;
    // Different for every registration: what was worked out from a resource's bytes
    // holds while its serial is the same.
    unsigned long long serial = 0;
};

// Registers a resource; a later registration of the same name and type replaces the
// earlier one (tests use this to supply their own data). Returns true.
bool RegisterResource(std::string_view name, std::string_view type, const unsigned char* data,
                      size_t size);
// Null when no resource of that name and type exists.
const ResourceEntry* FindResource(std::string_view name, std::string_view type);
// Every registered resource, in registration order.
std::vector<ResourceEntry> AllResources();

} // namespace platform::core
