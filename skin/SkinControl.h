#pragma once

namespace vantrel {

// What a control of a skinned window is.
enum class ControlKind {
    Button,       // a SkinButton that acts on every click
    ToggleButton, // a SkinButton that flips its checked state on every click
    TextBox,      // a BitmapEdit
};

// One line of a window's table of controls: its "BUTTONPOS" key, the role it
// is found by (its objectName), its kind and what a click does. A row with a
// count places that many controls on consecutive keys; their roles end in
// their index, and the indexed action is told which one was clicked.
template <typename Window> struct SkinControl {
    using Action = void (Window::*)();
    using IndexedAction = void (Window::*)(int);

    int key = 0;
    const char* role = "";
    ControlKind kind = ControlKind::Button;
    Action action = nullptr;
    int count = 1;
    IndexedAction indexedAction = nullptr;
};

} // namespace vantrel
