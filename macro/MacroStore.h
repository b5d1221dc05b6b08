#pragma once

#include "macro/MacroRecord.h"
#include "settings/MacroKeyInfo.h"
#include "settings/SharedBlock.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The program's one ordered list of named macros, kept in
// "config/sequence.dat" under the program folder.
class MacroStore final {
public:
    struct Match {
        int index = -1;    // store index of the macro of that name, or -1
        bool same = false; // its events equal the key's copy
    };

    explicit MacroStore(std::string programFolder);

    std::string filePath() const;

    // Appends the file's macros to the store (callers clear it before a reload).
    void loadMacroStore();
    // Rewrites the whole file atomically. False when it could not be written.
    bool saveMacroStore() const;
    void clearMacroStore();

    int count() const;
    // Null for an index outside the list.
    MacroRecord* macroAt(int index);
    const MacroRecord* macroAt(int index) const;

    Match findMacroForKey(const MacroKeyInfo& key) const;
    bool macroNameExists(std::string_view name) const;
    void appendMacroFromKey(const MacroKeyInfo& key);
    // Takes macros found in the profiles into the store.
    void mergeProfileMacros(const SharedBlock& settings);
    // Brings every macro key of the profiles up to date with the store, marking
    // the keys it rewrites in keyChanged.
    void refreshMacroKeys(SharedBlock& settings) const;

private:
    std::string m_folder;
    std::vector<std::unique_ptr<MacroRecord>> m_macros;
};

} // namespace vantrel
