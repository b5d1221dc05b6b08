// A macro store file of any content: every macro loaded is sound, and the
// store finds the macro of a key by its name.
#include "fuzz/FuzzFile.h"
#include "macro/MacroStore.h"

#include <cstdlib>
#include <cstring>

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::FuzzFile input;
    static const std::string folder = input.linkedAs("config/sequence.dat");
    input.fill(data, size);
    MacroStore store(folder);
    store.loadMacroStore();

    auto settings = std::make_unique<SharedBlock>();
    std::memset(settings.get(), 0, sizeof(SharedBlock));
    for (int i = 0; i < store.count(); ++i) {
        const MacroRecord& macro = *store.macroAt(i);
        if (!isSoundMacroRecord(macro))
            std::abort();
        if (i < kKeyPositions) {
            MacroKeyInfo& key = settings->profiles[0].MacroKeyInfo[i];
            MacroStore::copyMacroToKey(macro, key);
            key.assignType = kAssignMacro;
            if (store.findMacroForKey(key).index < 0)
                std::abort();
        }
    }
    store.mergeProfileMacros(*settings);
    store.refreshMacroKeys(*settings);
    return 0;
}
