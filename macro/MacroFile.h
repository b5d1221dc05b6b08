#pragma once

#include "macro/MacroRecord.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

class MacroStore;

// A macro file (.macro): section "Macros", key "0", one MacroRecord; it carries
// one macro from one installation to another.
class MacroFile final {
public:
    // The file's macro, or nothing when the file cannot be read, its key "0" is
    // missing or damaged, or the record is not sound (name unterminated, counts
    // out of range).
    static std::optional<MacroRecord> readMacroFile(const std::string& path);
    // Appends the file's macro to the store under importedName(). Returns its
    // index, or -1 with the store unchanged when the file is refused.
    static int importMacroFile(const std::string& path, MacroStore& store);
    // Writes a file that holds nothing but this macro, replacing any file of
    // that name. False when it could not be written.
    static bool exportMacroFile(const std::string& path, const MacroRecord& record);

    // The name itself when no store macro has it, else the name with the first
    // number 1, 2, ... that makes it free. The name is cut at a UTF-8 boundary
    // where the number would not fit a record's name field.
    static std::string importedName(std::string_view name, const MacroStore& store);
};

} // namespace vantrel
