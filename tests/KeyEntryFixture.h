#pragma once

#include "settings/MacroKeyInfo.h"
#include "skin/AppContext.h"
#include "skin/SkinButton.h"
#include "tests/TempProgramFolder.h"

#include <QDialog>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace vantrel::test {

// An entry whose every byte holds something, so that a stray write shows.
inline MacroKeyInfo patternedEntry(uint8_t assignType) {
    MacroKeyInfo entry;
    auto* bytes = reinterpret_cast<unsigned char*>(&entry);
    for (size_t i = 0; i < sizeof entry; ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + 1);
    entry.assignType = assignType;
    return entry;
}

inline bool sameBytes(const MacroKeyInfo& a, const MacroKeyInfo& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline void press(QDialog& dialog, const char* button) {
    SkinButton* found = dialog.findChild<SkinButton*>(QString::fromLatin1(button));
    ASSERT_NE(found, nullptr) << button;
    QTest::mouseClick(found, Qt::LeftButton);
}

// A program folder with the built skin, a context over it, and the key entry
// that a dialog edits.
struct KeyEntryFixture {
    using Edit = bool (*)(AppContext&, MacroKeyInfo&, QWidget*);

    TempProgramFolder folder;
    AppContext context{folder.folder(), std::nullopt};
    MacroKeyInfo entry = patternedEntry(kAssignStandard);

    // Runs edit over the entry; act works on the dialog, shown as exec()
    // would show it, and the dialog's result is what act left.
    bool run(Edit edit, const std::function<void(QDialog&)>& act) {
        context.dialogs().answerNext([&act](QDialog& dialog) {
            dialog.show();
            act(dialog);
            return dialog.result();
        });
        return edit(context, entry, nullptr);
    }
};

} // namespace vantrel::test
