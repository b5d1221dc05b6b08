#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// Macro names are told apart without the blanks around them and without regard
// to letter case; UTF-8 letters fold by their Unicode case, bytes that are not
// UTF-8 compare as they are.
bool sameMacroName(std::string_view a, std::string_view b);

// The name as a key's 20-byte macroName holds it: at most 19 bytes, cut at a
// UTF-8 character boundary. Keys are matched to store macros in this form, so a
// key keeps its macro when the macro's name is longer than a key can hold.
std::string macroNameInKey(std::string_view name);

} // namespace vantrel
