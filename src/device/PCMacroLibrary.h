#pragma once
// The PC macro library file "VTRM408x-Macro.bin": 100 records of a name and a 256-byte
// body. At start the library is read from its file, or, when there is none, taken from
// the built-in defaults and written out as a new file. A file that is there but cannot be
// used is never overwritten: the program runs on the defaults and the caller tells the
// user, so the user's macros are not lost.
#include <cstdint>
#include <string>

namespace device {

inline constexpr const char* PCMacroLibraryFileName = "VTRM408x-Macro.bin";

enum class PCMacroLibraryStatus {
    Loaded,     // the file was read into the tables
    Created,    // there was no file: defaults in the tables, a new file written
    WrongSize,  // the file is shorter than 27,200 bytes: defaults in the tables, file untouched
    Unreadable, // the file (or whether it exists) cannot be read: defaults, file untouched
    NotCreated, // there was no file and none could be written: defaults in the tables
};

struct PCMacroLibraryResult {
    PCMacroLibraryStatus Status = PCMacroLibraryStatus::Loaded;
    std::string Path;
    uintmax_t FileSize = 0; // of the file found, for WrongSize
    std::string Reason;     // the system's words for an Unreadable or NotCreated file
    bool Ok() const {
        return Status == PCMacroLibraryStatus::Loaded || Status == PCMacroLibraryStatus::Created;
    }
};

// The library file: the folder text with the file name appended directly (a folder must
// end with its separator), or the program folder's when the folder text is empty.
std::string PCMacroLibraryPath(const std::string& macroLibraryFolder,
                               const std::string& programFolder);

// Fills PCMacroNameTable and PCMacroBodyTable from the file at `path` (its first 27,200
// bytes; a longer file is read, never shortened), or from the built-in library when the
// file is missing or unusable (see the statuses).
PCMacroLibraryResult CheckPCMacroLibrary(const std::string& path);

} // namespace device
