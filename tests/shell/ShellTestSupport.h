#pragma once
// Helpers of the main-window tests: a started window, and embedded texts replaced for the
// length of a test.
#include "platform/core/Resources.h"
#include "platform/vcl/Forms.h"
#include "shell/Main.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace shell_test {

struct FormDeleter {
    void operator()(shell::TForm1* form) const {
        // The hint event points at the window; nothing may call it once the window is gone.
        vcl::Application()->OnHint = nullptr;
        delete form;
    }
};
using FormPtr = std::unique_ptr<shell::TForm1, FormDeleter>;

// A main window built from its design whose creation handler has run.
inline FormPtr StartedForm() {
    FormPtr form(new shell::TForm1(nullptr));
    EXPECT_TRUE(form->DoCreate());
    return form;
}

// Registers `text` as the resource of that name for the lifetime of the object; the
// original comes back afterwards.
class ResourceOverride {
public:
    ResourceOverride(std::string name, std::string text)
        : name_(std::move(name)), text_(std::move(text)) {
        if (const platform::ResourceEntry* e = platform::FindResource(name_, "RC_DATA"))
            original_ = *e;
        platform::RegisterResource(
            name_, "RC_DATA", reinterpret_cast<const unsigned char*>(text_.data()), text_.size());
    }
    ~ResourceOverride() {
        if (original_.data)
            platform::RegisterResource(name_, "RC_DATA", original_.data, original_.size);
    }
    ResourceOverride(const ResourceOverride&) = delete;
    ResourceOverride& operator=(const ResourceOverride&) = delete;

private:
    std::string name_;
    std::string text_;
    platform::ResourceEntry original_;
};

} // namespace shell_test
