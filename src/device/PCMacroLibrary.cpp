#include "device/PCMacroLibrary.h"

#include "device/DefaultSetting.h"
#include "platform/rtl/FileRead.h"
#include "platform/rtl/FileSave.h"

#include <algorithm>
#include <filesystem>
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

// Writes a new file only: an existing one (say, created meanwhile) is never replaced, and
// a file that could not be written whole never appears.
bool CreateLibraryFile(const std::string& path, const std::vector<uint8_t>& bytes,
                       std::string& reason) {
    return platform::rtl::TrySaveFile(path, bytes.data(), bytes.size(),
                                      platform::rtl::TSaveMode::KeepExisting, reason);
}

} // namespace

std::string PCMacroLibraryPath(const std::string& macroLibraryFolder,
                               const std::string& programFolder) {
    return (macroLibraryFolder.empty() ? programFolder : macroLibraryFolder) +
           PCMacroLibraryFileName;
}

namespace {

// Reads the library file that is there (status known not to be "not found"). Only a
// regular file is read, and only when it is long enough; a longer one holds the 100
// records at its start and whatever follows is not read.
PCMacroLibraryResult ReadPresentLibrary(const std::string& path) {
    PCMacroLibraryResult result;
    result.Path = path;
    platform::rtl::TFileStart file =
        platform::rtl::ReadFileStart(path, image::PCMacroLibrarySize, image::PCMacroLibrarySize);
    if (file.Status != platform::rtl::TFileReadStatus::Read) {
        LoadDefaultPCMacros();
        result.Status = PCMacroLibraryStatus::Unreadable;
        result.Reason = file.Status == platform::rtl::TFileReadStatus::Missing
                            ? "it disappeared while it was being read"
                            : file.Reason;
        return result;
    }
    if (file.Bytes.size() < image::PCMacroLibrarySize) {
        LoadDefaultPCMacros();
        result.Status = PCMacroLibraryStatus::WrongSize;
        result.FileSize = static_cast<uintmax_t>(file.Size);
        return result;
    }
    TablesFromBytes(file.Bytes);
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
    if (status.type() != fs::file_type::not_found) return ReadPresentLibrary(path);

    LoadDefaultPCMacros();
    if (CreateLibraryFile(path, BytesFromTables(), result.Reason)) {
        result.Status = PCMacroLibraryStatus::Created;
        return result;
    }
    // Another start of the program made the file meanwhile (it appears only whole): that
    // one is the library.
    const fs::file_status now = fs::status(path, ec);
    if (!ec && now.type() != fs::file_type::not_found) return ReadPresentLibrary(path);
    result.Status = PCMacroLibraryStatus::NotCreated;
    return result;
}

} // namespace device
