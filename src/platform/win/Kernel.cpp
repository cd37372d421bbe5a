#include "platform/win/Kernel.h"

#include "platform/win/KernelObjects.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>

namespace platform::win {

bool operator==(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;
std::atomic<UINT> g_errorMode{0};

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string ModuleKey(LPCSTR name) {
    std::string key = Lower(name ? name : "");
    if (!key.empty() && key.find('.') == std::string::npos) key += ".dll";
    return key;
}

struct Module {
    std::string key;
    const detail::ExportList* exports = nullptr;
    std::set<std::string> hidden;
    int loadCount = 0;
};

struct ModuleTable {
    std::mutex mutex;
    std::map<std::string, Module> modules;

    ModuleTable() {
        Add("hid.dll", &detail::HidDllExports());
        Add("setupapi.dll", &detail::SetupApiDllExports());
    }
    void Add(const std::string& key, const detail::ExportList* exports) {
        Module& m = modules[key];
        m.key = key;
        m.exports = exports;
    }
    Module* ByHandle(HMODULE handle) {
        for (auto& [key, m] : modules)
            if (&m == handle) return &m;
        return nullptr;
    }
};

ModuleTable& Modules() {
    static ModuleTable table;
    return table;
}

struct FileTable {
    std::mutex mutex;
    std::unordered_map<HANDLE, std::shared_ptr<detail::FileObject>> files;
};

FileTable& Files() {
    static FileTable table;
    return table;
}

struct InterfaceCache {
    std::mutex mutex;
    std::weak_ptr<win::HidBus> bus;
    std::map<std::string, win::InterfaceInfo> byPath;
};

InterfaceCache& Cache() {
    static InterfaceCache cache;
    return cache;
}

} // namespace

// ---- Modules ------------------------------------------------------------------------

HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE, DWORD) {
    ModuleTable& table = Modules();
    std::lock_guard lock(table.mutex);
    auto it = table.modules.find(ModuleKey(fileName));
    if (it == table.modules.end()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ++it->second.loadCount;
    return &it->second;
}

BOOL FreeLibrary(HMODULE module) {
    ModuleTable& table = Modules();
    std::lock_guard lock(table.mutex);
    Module* m = table.ByHandle(module);
    if (!m || m->loadCount == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    --m->loadCount;
    return 1;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    ModuleTable& table = Modules();
    std::lock_guard lock(table.mutex);
    Module* m = table.ByHandle(module);
    if (!m || m->loadCount == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (procName && !m->hidden.count(procName)) {
        for (const auto& [name, proc] : *m->exports)
            if (std::strcmp(name, procName) == 0) return proc;
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

UINT SetErrorMode(UINT mode) {
    return g_errorMode.exchange(mode);
}

BOOL GetVersionExA(OSVERSIONINFOA* info) {
    if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    info->dwMajorVersion = 5;
    info->dwMinorVersion = 1;
    info->dwBuildNumber = 2600;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    return 1;
}

// ---- Errors -------------------------------------------------------------------------

DWORD GetLastError() {
    return t_lastError;
}
void SetLastError(DWORD error) {
    t_lastError = error;
}

// ---- Files --------------------------------------------------------------------------

namespace detail {

std::shared_ptr<FileObject> LookupFile(HANDLE handle) {
    FileTable& table = Files();
    {
        std::lock_guard lock(table.mutex);
        auto it = table.files.find(handle);
        if (it != table.files.end()) return it->second;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

void RememberInterfaces(const std::shared_ptr<win::HidBus>& bus,
                        const std::vector<win::InterfaceInfo>& interfaces) {
    InterfaceCache& cache = Cache();
    std::lock_guard lock(cache.mutex);
    cache.bus = bus;
    cache.byPath.clear();
    for (const auto& info : interfaces)
        if (!info.path.empty()) cache.byPath[info.path] = info;
}

bool FindInterface(const std::shared_ptr<win::HidBus>& bus, const std::string& path,
                   win::InterfaceInfo& info) {
    InterfaceCache& cache = Cache();
    {
        std::lock_guard lock(cache.mutex);
        if (cache.bus.lock() == bus) {
            auto it = cache.byPath.find(path);
            if (it != cache.byPath.end()) {
                info = it->second;
                return true;
            }
        }
    }
    // Not in the latest listing: the interface may have arrived since.
    const std::vector<win::InterfaceInfo> now = bus->Enumerate();
    RememberInterfaces(bus, now);
    for (const auto& candidate : now) {
        if (candidate.path == path) {
            info = candidate;
            return true;
        }
    }
    return false;
}

} // namespace detail

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD, void*, DWORD creationDisposition,
                   DWORD, HANDLE) {
    if (!fileName || creationDisposition != OPEN_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::shared_ptr<win::HidBus> bus = win::Bus();
    win::InterfaceInfo info;
    if (!bus || !detail::FindInterface(bus, fileName, info)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const bool readWrite = (desiredAccess & (GENERIC_READ | GENERIC_WRITE)) != 0;
    win::HidError error = win::HidError::None;
    std::unique_ptr<win::HidConnection> connection =
        bus->Open(fileName, readWrite ? win::OpenAccess::ReadWrite : win::OpenAccess::Query, error);
    if (!connection) {
        SetLastError(error == win::HidError::None ? ERROR_GEN_FAILURE : detail::ToWinError(error));
        return INVALID_HANDLE_VALUE;
    }
    auto file = std::make_shared<detail::FileObject>();
    file->info = info;
    file->readWrite = readWrite;
    file->connection = std::move(connection);
    HANDLE handle = file.get();
    FileTable& table = Files();
    std::lock_guard lock(table.mutex);
    table.files.emplace(handle, std::move(file));
    return handle;
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, void* overlapped) {
    if (bytesRead) *bytesRead = 0;
    std::shared_ptr<detail::FileObject> f = detail::LookupFile(file);
    if (!f) return 0;
    if (!buffer || overlapped) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!f->readWrite) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    win::HidError error = win::HidError::None;
    const int n = f->connection->ReadInput(static_cast<uint8_t*>(buffer), bytesToRead, error);
    if (n < 0) {
        SetLastError(error == win::HidError::None ? ERROR_GEN_FAILURE : detail::ToWinError(error));
        return 0;
    }
    if (bytesRead) *bytesRead = static_cast<DWORD>(n);
    return 1;
}

BOOL CancelIoEx(HANDLE file, void*) {
    std::shared_ptr<detail::FileObject> f = detail::LookupFile(file);
    if (!f) return 0;
    f->connection->InterruptRead();
    return 1;
}

BOOL CloseHandle(HANDLE object) {
    std::shared_ptr<detail::FileObject> f;
    {
        FileTable& table = Files();
        std::lock_guard lock(table.mutex);
        auto it = table.files.find(object);
        if (it != table.files.end()) {
            f = std::move(it->second);
            table.files.erase(it);
        }
    }
    if (!f) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    // A read blocked on this handle would otherwise keep the interface open for ever.
    f->connection->InterruptRead();
    return 1;
}

// ---- Test hooks ---------------------------------------------------------------------

namespace testing {

int ModuleLoadCount(LPCSTR fileName) {
    ModuleTable& table = Modules();
    std::lock_guard lock(table.mutex);
    auto it = table.modules.find(ModuleKey(fileName));
    return it == table.modules.end() ? 0 : it->second.loadCount;
}

void HideExport(LPCSTR fileName, LPCSTR procName) {
    ModuleTable& table = Modules();
    std::lock_guard lock(table.mutex);
    auto it = table.modules.find(ModuleKey(fileName));
    if (it != table.modules.end()) it->second.hidden.insert(procName);
}

void RestoreExports() {
    ModuleTable& table = Modules();
    std::lock_guard lock(table.mutex);
    for (auto& [key, m] : table.modules)
        m.hidden.clear();
}

int OpenFileHandleCount() {
    FileTable& table = Files();
    std::lock_guard lock(table.mutex);
    return static_cast<int>(table.files.size());
}

} // namespace testing

} // namespace platform::win
