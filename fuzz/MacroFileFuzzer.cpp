// A macro file of any content: a macro is taken only when it is sound, and an
// import gives it a name no other macro of the store has.
#include "fuzz/FuzzFile.h"
#include "macro/MacroFile.h"
#include "macro/MacroStore.h"
#include "settings/TextField.h"

#include <cstdlib>

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::FuzzFile input;
    input.fill(data, size);
    const std::optional<MacroRecord> record = MacroFile::readMacroFile(input.path());
    if (record && !isSoundMacroRecord(*record))
        std::abort();

    MacroStore store("/nonexistent/");
    const int first = MacroFile::importMacroFile(input.path(), store);
    const int second = MacroFile::importMacroFile(input.path(), store);
    if ((first < 0) != !record || (second < 0) != !record)
        std::abort();
    if (record && fieldText(store.macroAt(first)->name) == fieldText(store.macroAt(second)->name))
        std::abort();
    return 0;
}
