#pragma once
// Unit LayoutText: the window's layout settings texts, built into the program as INI texts
// of type "RC_DATA": "ORG" with the general [org] settings, "ORG1".."ORG3" with the
// layout of each language.
#include "platform/rtl/IniFiles.h"

#include <memory>
#include <string>

namespace window::shell {

// The text of that name as an INI object; a missing resource raises EResNotFound.
platform::rtl::TMemIniFile LoadLayoutText(const std::string& name);
// The same, read once and shared while the resource stays as it is: a text registered
// anew is read again. Safe to call from any thread.
std::shared_ptr<const platform::rtl::TMemIniFile> SharedLayoutText(const std::string& name);

// The integer value of a key; an empty (missing) or non-numeric value raises the
// conversion error "'<value>' is not a valid integer value".
int ReadLayoutInteger(const platform::rtl::TMemIniFile& ini, const std::string& section,
                      const std::string& key);

} // namespace window::shell
