#pragma once

namespace vantrel {

// How the skinned windows differ from one another. Every window is one of the
// kinds below; the behaviour itself lives once, in SkinnedDialog.
struct SkinWindowKind {
    enum class Role {
        MainWindow, // a window of its own with a task-bar entry
        Dialog,     // a modal window centred over its owner
        Page,       // a child page inside the main window
    };

    Role role;
    // A press on a free spot of the picture drags the window it belongs to (for
    // a page, the main window); otherwise the press is ignored.
    bool dragMovesWindow;
    // Windows that take typed or recorded keys drop Space along with Enter and Escape.
    bool dropsSpace;
};

namespace SkinWindowKinds {

inline constexpr SkinWindowKind kMainWindow{SkinWindowKind::Role::MainWindow, true, false};
inline constexpr SkinWindowKind kProfileDialog{SkinWindowKind::Role::Dialog, true, false};
inline constexpr SkinWindowKind kLaunchProgramDialog{SkinWindowKind::Role::Dialog, true, false};
inline constexpr SkinWindowKind kShortcutDialog{SkinWindowKind::Role::Dialog, true, false};
inline constexpr SkinWindowKind kMacroManagerDialog{SkinWindowKind::Role::Dialog, true, true};
inline constexpr SkinWindowKind kMacroSelectionDialog{SkinWindowKind::Role::Dialog, false, true};
inline constexpr SkinWindowKind kKeyAssignmentPage{SkinWindowKind::Role::Page, true, true};
inline constexpr SkinWindowKind kLightingPage{SkinWindowKind::Role::Page, false, false};
inline constexpr SkinWindowKind kColourSelectionDialog{SkinWindowKind::Role::Dialog, true, false};
inline constexpr SkinWindowKind kConfirmationDialog{SkinWindowKind::Role::Dialog, true, false};

} // namespace SkinWindowKinds

} // namespace vantrel
