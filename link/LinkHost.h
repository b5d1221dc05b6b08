#pragma once

#include <string>

namespace vantrel {

// What the link asks of the main window.
class LinkHost {
public:
    virtual ~LinkHost() = default;
    virtual void refreshAll() = 0;
    virtual void setEnabledApply(bool on) = 0;
    // Busy while an apply waits for the monitor: wait cursor, the window's
    // controls ignore the mouse.
    virtual void setBusy(bool on) = 0;
    virtual void showMessage(const std::string& text) = 0;
    virtual void firmwareVersionChanged() = 0;
};

} // namespace vantrel
