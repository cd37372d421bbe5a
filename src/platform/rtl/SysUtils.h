#pragma once
// Exceptions and text conversions in the manner of the component library the program's
// forms are written for. Texts are UTF-8 in std::string throughout.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform::rtl {

// Base of every exception the program raises and shows in the exception box.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A text that is not a number, e.g. "'abc' is not a valid integer value".
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// "Resource %s not found".
class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EFileStreamError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
// "Cannot open file "<name>". <reason>"
class EFOpenError : public EFileStreamError {
public:
    using EFileStreamError::EFileStreamError;
};
// "Cannot create file "<name>". <reason>"
class EFCreateError : public EFileStreamError {
public:
    using EFileStreamError::EFileStreamError;
};
// A stream delivered fewer bytes than ReadBuffer asked for.
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
// A stream took fewer bytes than WriteBuffer gave it.
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
// "List index out of bounds (%d)".
class EStringListError : public Exception {
public:
    using Exception::Exception;
};

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Integer conversion with the runtime's rules: leading blanks, then an optional sign, then
// decimal digits or hexadecimal digits behind "$", "x" or "0x". Hexadecimal takes the full
// 32 bits ("$FFFFFFFF" is -1); decimal must lie within the signed 32-bit range. Anything
// else (empty text, trailing characters, overflow) fails with EConvertError
// "'<text>' is not a valid integer value".
int StrToInt(std::string_view text);
int StrToIntDef(std::string_view text, int defaultValue);
bool TryStrToInt(std::string_view text, int& value);
// Hexadecimal digits without prefix, read as StrToInt("$" + text) reads them.
int HexToInt(std::string_view hexDigits);

std::string IntToStr(int64_t value);
// Upper-case hexadecimal, at least `digits` digits; negative values in two's complement of
// the argument's width (IntToHex(-1, 2) is "FFFFFFFF").
std::string IntToHex(int32_t value, int digits);
std::string IntToHex(uint32_t value, int digits);
std::string IntToHex(int64_t value, int digits);
std::string IntToHex(uint64_t value, int digits);

// Strips blanks and control characters (codes up to 32) from both ends.
std::string Trim(std::string_view text);
// ASCII letters only, as the runtime's non-locale case functions do.
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);

// The folder part of a file name including its final delimiter ("" without one).
std::string ExtractFilePath(std::string_view fileName);
std::string IncludeTrailingPathDelimiter(std::string_view path);
// True for an existing file that is not a folder.
bool FileExists(const std::string& fileName);

// Malformed input (bad UTF-8, lone surrogates) becomes U+FFFD rather than being dropped,
// so a damaged text still shows where it is damaged.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// Decodes little-endian UTF-16 bytes as stored in the language tables: a leading FF FE
// mark is skipped (without it the text starts at the first byte), an odd last byte is
// ignored and the text ends at the first NUL.
std::string Utf16LeBytesToUtf8(std::string_view bytes);

// The system's words for an errno value ("No such file or directory").
std::string SystemReason(int error);

} // namespace platform::rtl
