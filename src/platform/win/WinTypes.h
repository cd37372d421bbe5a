#pragma once
// The basic Windows types and constants the program's device code is written in.
#include <cstdint>

namespace platform::win {

using BOOL = int;
using BOOLEAN = unsigned char;
using BYTE = uint8_t;
using USHORT = uint16_t;
using UINT = uint32_t;
using ULONG = uint32_t;
using DWORD = uint32_t;
using LONG = int32_t;
using HANDLE = void*;
using HMODULE = void*;
using HWND = void*;
using FARPROC = void (*)();
using LPCSTR = const char*;

inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD FILE_SHARE_READ = 1;
constexpr DWORD FILE_SHARE_WRITE = 2;
constexpr DWORD OPEN_EXISTING = 3;

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_NO_MORE_ITEMS = 259;
constexpr DWORD ERROR_OPERATION_ABORTED = 995;
constexpr DWORD ERROR_DEVICE_NOT_CONNECTED = 1167;

constexpr UINT SEM_NOOPENFILEERRORBOX = 0x8000;

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};

} // namespace platform::win
