#include "device/PCMacroLibrary.h"

#include "device/DefaultSetting.h"
#include "platform/rtl/FileSave.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace device {
namespace {

namespace fs = std::filesystem;

void TablesFromBytes(const std::vector<uint8_t>& bytes) {
    for (int i = 0; i < image::PCMacroCount; ++i) {
        const uint8_t* record = bytes.data() + size_t{image::PCMacroRecordSize} * i;
        std::copy_n(record, image::MacroNameSize, PCMacroNameTable[i].begin());
        std::copy_n(record + image::MacroNameSize, image::PCMacroBodySize,
                    PCMacroBodyTable[i].begin());
    }
}

std::vector<uint8_t> BytesFromTables() {
    std::vector<uint8_t> bytes(image::PCMacroLibrarySize);
    for (int i = 0; i < image::PCMacroCount; ++i) {
        uint8_t* record = bytes.data() + size_t{image::PCMacroRecordSize} * i;
        std::copy(PCMacroNameTable[i].begin(), PCMacroNameTable[i].end(), record);
        std::copy(PCMacroBodyTable[i].begin(), PCMacroBodyTable[i].end(),
                  record + image::MacroNameSize);
    }
    return bytes;
}

// Reads at most `limit` bytes; false when the file cannot be opened or read.
bool ReadUpTo(const std::string& path, size_t limit, std::vector<uint8_t>& bytes,
              std::string& reason) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reason = std::strerror(errno);
        return false;
    }
    bytes.resize(limit);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
    if (in.bad()) {
        reason = std::strerror(errno);
        return false;
    }
    bytes.resize(static_cast<size_t>(in.gcount()));
    return true;
}

// Writes a new file only: an existing one (say, created meanwhile) is never replaced, and
// a file that could not be written whole never appears.
bool CreateLibraryFile(const std::string& path, const std::vector<uint8_t>& bytes,
                       std::string& reason) {
    return vcl::TrySaveFile(path, bytes.data(), bytes.size(), vcl::TSaveMode::KeepExisting, reason);
}

} // namespace

std::string PCMacroLibraryPath(const std::string& macroLibraryFolder,
                               const std::string& programFolder) {
    return (macroLibraryFolder.empty() ? programFolder : macroLibraryFolder) +
           PCMacroLibraryFileName;
}

namespace {

// Reads the library file that is there (status known not to be "not found").
PCMacroLibraryResult ReadPresentLibrary(const std::string& path, fs::file_type type) {
    PCMacroLibraryResult result;
    result.Path = path;
    std::vector<uint8_t> bytes;
    // A longer file holds the 100 records at its start: whatever follows is not read.
    if (type == fs::file_type::directory ||
        !ReadUpTo(path, image::PCMacroLibrarySize, bytes, result.Reason)) {
        if (type == fs::file_type::directory) result.Reason = "a folder of that name";
        LoadDefaultPCMacros();
        result.Status = PCMacroLibraryStatus::Unreadable;
        return result;
    }
    if (bytes.size() < image::PCMacroLibrarySize) {
        LoadDefaultPCMacros();
        result.Status = PCMacroLibraryStatus::WrongSize;
        std::error_code ec;
        result.FileSize = fs::file_size(path, ec);
        if (ec) result.FileSize = bytes.size();
        return result;
    }
    TablesFromBytes(bytes);
    result.Status = PCMacroLibraryStatus::Loaded;
    return result;
}

} // namespace

PCMacroLibraryResult CheckPCMacroLibrary(const std::string& path) {
    PCMacroLibraryResult result;
    result.Path = path;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec && status.type() != fs::file_type::not_found) {
        // Whether a file is there cannot be told: creating one could overwrite it.
        LoadDefaultPCMacros();
        result.Status = PCMacroLibraryStatus::Unreadable;
        result.Reason = ec.message();
        return result;
    }
    if (status.type() != fs::file_type::not_found) return ReadPresentLibrary(path, status.type());

    LoadDefaultPCMacros();
    if (CreateLibraryFile(path, BytesFromTables(), result.Reason)) {
        result.Status = PCMacroLibraryStatus::Created;
        return result;
    }
    // Another start of the program made the file meanwhile (it appears only whole): that
    // one is the library.
    const fs::file_status now = fs::status(path, ec);
    if (!ec && now.type() != fs::file_type::not_found) return ReadPresentLibrary(path, now.type());
    result.Status = PCMacroLibraryStatus::NotCreated;
    return result;
}

} // namespace device
