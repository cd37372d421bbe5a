#include "device/PCMacroLibrary.h"

#include "device/DefaultSetting.h"

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

// Writes a new file only: an existing one (say, created meanwhile) is never replaced,
// and a file that could not be written whole is removed again.
bool CreateLibraryFile(const std::string& path, const std::vector<uint8_t>& bytes,
                       std::string& reason) {
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (!file) {
        reason = std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (!ok) reason = std::strerror(errno);
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        reason = std::strerror(errno);
    }
    if (!ok) std::remove(path.c_str());
    return ok;
}

} // namespace

std::string PCMacroLibraryPath(const std::string& macroLibraryFolder,
                               const std::string& programFolder) {
    return (macroLibraryFolder.empty() ? programFolder : macroLibraryFolder) +
           PCMacroLibraryFileName;
}

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
    if (status.type() == fs::file_type::not_found) {
        LoadDefaultPCMacros();
        result.Status = CreateLibraryFile(path, BytesFromTables(), result.Reason)
                            ? PCMacroLibraryStatus::Created
                            : PCMacroLibraryStatus::NotCreated;
        return result;
    }
    std::vector<uint8_t> bytes;
    if (status.type() == fs::file_type::directory ||
        !ReadUpTo(path, image::PCMacroLibrarySize + 1, bytes, result.Reason)) {
        if (status.type() == fs::file_type::directory) result.Reason = "a folder of that name";
        LoadDefaultPCMacros();
        result.Status = PCMacroLibraryStatus::Unreadable;
        return result;
    }
    if (bytes.size() != image::PCMacroLibrarySize) {
        LoadDefaultPCMacros();
        result.Status = PCMacroLibraryStatus::WrongSize;
        result.FileSize = fs::file_size(path, ec);
        if (ec) result.FileSize = bytes.size();
        return result;
    }
    TablesFromBytes(bytes);
    result.Status = PCMacroLibraryStatus::Loaded;
    return result;
}

} // namespace device
