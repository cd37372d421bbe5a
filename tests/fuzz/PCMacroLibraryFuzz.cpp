// The PC macro library file with any contents. A file of exactly 27,200 bytes is read
// record by record into the tables (name, then body); any other file leaves the built-in
// library in the tables and the file as it was. A missing file is created from the
// built-in library and reads back the same.
#include "FuzzCheck.h"
#include "device/DefaultSetting.h"
#include "device/PCMacroLibrary.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

using namespace device;
namespace fs = std::filesystem;

namespace {

// Made once and never destroyed, so the clean-up at exit can still name it.
const fs::path& Folder() {
    static const fs::path* folder = [] {
        auto* dir = new fs::path(fs::temp_directory_path() /
                                 ("vtrm-fuzz-pcmacro-" + std::to_string(getpid())));
        fs::create_directories(*dir);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(Folder(), ignored);
        });
        return dir;
    }();
    return *folder;
}

std::vector<uint8_t> Tables() {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < image::PCMacroCount; ++i) {
        bytes.insert(bytes.end(), PCMacroNameTable[i].begin(), PCMacroNameTable[i].end());
        bytes.insert(bytes.end(), PCMacroBodyTable[i].begin(), PCMacroBodyTable[i].end());
    }
    return bytes;
}

std::vector<uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<uint8_t> defaults = [] {
        LoadDefaultPCMacros();
        return Tables();
    }();
    const fs::path path = Folder() / PCMacroLibraryFileName;
    std::error_code ignored;
    fs::remove(path, ignored);

    if (size == 0) {
        FUZZ_CHECK(CheckPCMacroLibrary(path.string()).Status == PCMacroLibraryStatus::Created);
        FUZZ_CHECK(FileBytes(path) == defaults && Tables() == defaults);
        FUZZ_CHECK(CheckPCMacroLibrary(path.string()).Status == PCMacroLibraryStatus::Loaded);
        FUZZ_CHECK(Tables() == defaults);
        return 0;
    }
    const std::vector<uint8_t> contents(data, data + size);
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const PCMacroLibraryResult result = CheckPCMacroLibrary(path.string());
    FUZZ_CHECK(FileBytes(path) == contents);
    if (size == image::PCMacroLibrarySize) {
        FUZZ_CHECK(result.Status == PCMacroLibraryStatus::Loaded);
        FUZZ_CHECK(Tables() == contents);
    } else {
        FUZZ_CHECK(result.Status == PCMacroLibraryStatus::WrongSize);
        FUZZ_CHECK(result.FileSize == size);
        FUZZ_CHECK(Tables() == defaults);
    }
    return 0;
}
