#pragma once

#include <QString>

namespace vantrel {

// What a file dialog of the program asks for; answered by DialogRunner.
struct FileRequest {
    enum class Mode { Open, Save };

    Mode mode = Mode::Open;
    // The name filter, for example "Gaming Keyboard Profile (*.gkp *.GKP)".
    QString filter;
    // Added to a saved name that has none; empty for none.
    QString defaultSuffix;
    QString folder;
    QString initialName;
    // Saving over an existing file asks first.
    bool confirmOverwrite = true;
};

} // namespace vantrel
