#include "window/device/DeviceTexts.h"

#include "window/Main.h"
#include "window/shell/LanguageTables.h"

namespace window::device {

std::string DeviceText(std::string_view key) {
    // Before the main window exists the program shows its start language.
    if (!window::Form1) return shell::LanguageText(1, key);
    // The window keeps the texts of the language it last applied.
    const std::string* text = window::Form1->LangTexts.Find(key);
    return text ? *text : std::string();
}

} // namespace window::device
