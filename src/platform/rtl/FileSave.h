#pragma once
// Writing a whole file so that a failure never leaves a damaged one: the bytes go to a
// temporary file in the target's folder, are flushed to the disk, and only a file that
// took every byte is renamed over the target. On any failure the temporary file is
// removed and the target keeps its bytes (or stays absent). Every file the program writes
// goes this way.
#include <cstddef>
#include <string>

namespace platform::rtl {

enum class TSaveMode {
    Replace,      // an existing file is replaced (the user agreed to it)
    KeepExisting, // an existing file is left alone: EFCreateError "... File exists"
};

// Writes `size` bytes as the file `fileName`. Raises EFCreateError when the file cannot be
// made or placed, EWriteError when the bytes cannot all be written or synced; the message
// names the file and gives the system's reason, e.g.
//   Cannot save file "/home/u/profile.bin". File too large
void SaveFile(const std::string& fileName, const void* data, size_t size,
              TSaveMode mode = TSaveMode::Replace);
// The same without raising: false with the system's reason ("File too large").
bool TrySaveFile(const std::string& fileName, const void* data, size_t size, TSaveMode mode,
                 std::string& reason);

} // namespace platform::rtl
