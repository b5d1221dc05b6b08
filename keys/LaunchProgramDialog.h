#pragma once

#include "settings/MacroKeyInfo.h"
#include "skin/SkinnedDialog.h"

#include <array>
#include <cstddef>
#include <string>

namespace vantrel {

class AppContext;
class BitmapEdit;

// Gives a key a program to start: the path is typed or picked, and stored as
// it is; nothing here checks or runs it.
class LaunchProgramDialog final : public SkinnedDialog {
    Q_OBJECT
public:
    // The longest path the entry holds, in bytes of UTF-8, with room for its NUL.
    static constexpr size_t kMaxPathBytes = sizeof(MacroKeyInfo::programPath) - 1;

    // Its controls by "BUTTONPOS" key of "skin_lanuch_program.ini".
    enum Key : int { PathKey = 1, BrowseKey = 2, OkKey = 3, CancelKey = 4, CloseKey = 5 };

    // Starts from the entry's path when it launches a program, else empty.
    LaunchProgramDialog(AppContext& context, const MacroKeyInfo& entry, QWidget* owner);

    // Runs the dialog over owner. On OK the entry takes the path, or its
    // standard function when the path is empty, and the result is true; on
    // Cancel or Exit the entry is left as it was.
    static bool edit(AppContext& context, MacroKeyInfo& entry, QWidget* owner);

    // The path taken on OK, in UTF-8.
    const std::string& path() const { return m_path; }
    // Why OK was refused, shown in the dialog until the path changes; empty otherwise.
    const QString& refusal() const { return m_refusal; }

protected:
    void paintContents(QPainter& painter) override;

private:
    static const std::array<SkinControl<LaunchProgramDialog>, 5> kControls;

    void browse();
    void confirm();
    void cancel();

    AppContext& m_context;
    BitmapEdit* m_pathBox = nullptr;
    std::string m_path;
    QString m_refusal;
};

} // namespace vantrel
