// The form-design loader on any design text, building a form of the class the text's
// first object names. A design it cannot place raises platform::rtl::Exception naming the design;
// a design it builds has a component for every object the text names under the form.
#include "FuzzCheck.h"
#include "controls/RegisterControls.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/FormDesign.h"
#include "support/GifAnimatorControl.h"

#include <QApplication>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

// Name and class of every "object Name: TClass" line, in order.
std::vector<std::pair<std::string, std::string>> Objects(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> objects;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.size() <= 6 || line.substr(0, 6) != "object" ||
            !std::isspace(static_cast<unsigned char>(line[6])))
            continue;
        const std::string_view rest = line.substr(6);
        const size_t colon = rest.find(':');
        if (colon == std::string_view::npos) continue;
        objects.emplace_back(Trim(rest.substr(0, colon)), Trim(rest.substr(colon + 1)));
    }
    return objects;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    new QApplication(*argc, *argv);
    controls::RegisterControlClasses();
    support::RegisterGifAnimatorClass();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto objects = Objects(text);
    platform::vcl::TFormBinding binding;
    binding.className = objects.empty() ? "TForm" : objects.front().second;
    platform::vcl::TNotifyEvent ignore = [](platform::vcl::TObject*) {};
    for (const char* name : {"FormCreate", "FormShow", "FormDestroy", "ButtonClick"})
        binding.handlers.push_back({name, ignore});

    platform::vcl::TForm form(nullptr);
    try {
        platform::vcl::LoadFormDesignText(form, text, "fuzz", binding);
    } catch (const platform::rtl::Exception& e) {
        FUZZ_CHECK(std::string(e.what()).rfind("Form design fuzz", 0) == 0);
        return 0;
    }
    FUZZ_CHECK(!objects.empty());
    for (size_t i = 1; i < objects.size(); ++i)
        FUZZ_CHECK(form.FindComponent(objects[i].first) != nullptr);
    return 0;
}
