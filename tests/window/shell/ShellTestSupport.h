#pragma once
// Helpers of the main-window tests: a started window, and embedded texts replaced for the
// length of a test.
#include "platform/core/Resources.h"
#include "platform/vcl/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "window/Main.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace shell_test {

struct FormDeleter {
    void operator()(window::TForm1* form) const {
        // The hint event points at the window; nothing may call it once the window is gone.
        platform::vcl::Application()->OnHint = nullptr;
        delete form;
    }
};
using FormPtr = std::unique_ptr<window::TForm1, FormDeleter>;

// A main window built from its design whose creation handler has run.
inline FormPtr StartedForm() {
    FormPtr form(new window::TForm1(nullptr));
    EXPECT_TRUE(form->DoCreate());
    return form;
}

// Registers `text` as the resource of that name for the lifetime of the object; the
// original comes back afterwards.
class ResourceOverride {
public:
    ResourceOverride(std::string name, std::string text)
        : name_(std::move(name)), text_(std::move(text)) {
        if (const platform::core::ResourceEntry* e = platform::core::FindResource(name_, "RC_DATA"))
            original_ = *e;
        platform::core::RegisterResource(
            name_, "RC_DATA", reinterpret_cast<const unsigned char*>(text_.data()), text_.size());
    }
    ~ResourceOverride() {
        if (original_.data)
            platform::core::RegisterResource(name_, "RC_DATA", original_.data, original_.size);
    }
    ResourceOverride(const ResourceOverride&) = delete;
    ResourceOverride& operator=(const ResourceOverride&) = delete;

private:
    std::string name_;
    std::string text_;
    platform::core::ResourceEntry original_;
};

// UTF-16LE bytes of a UTF-8 text, with or without the byte-order mark: a language table
// as it is built in.
inline std::string Utf16Le(const std::string& utf8, bool mark = true) {
    std::string bytes = mark ? std::string("\xFF\xFE", 2) : std::string();
    for (char16_t unit : platform::rtl::Utf8ToUtf16(utf8)) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

} // namespace shell_test
