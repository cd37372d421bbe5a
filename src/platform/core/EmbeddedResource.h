#pragma once
// What a generated resource file needs to register its bytes. It reads no library
// header, so the hundred or so generated files each compile in a moment.
#include <cstddef>

namespace platform::core {

// RegisterResource (Resources.h) for names and types written as literals.
bool RegisterEmbeddedResource(const char* name, const char* type, const unsigned char* data,
                              std::size_t size);

} // namespace platform::core
