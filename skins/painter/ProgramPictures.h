#pragma once

#include <QImage>

#include <string>
#include <utility>
#include <vector>

namespace vantrel::painter {

// The program's own pictures, compiled into it as Qt resources: the Enter key
// outline, the colour spectrum and its marker, the swatch face and outline,
// the event-list icons (black is see-through), the menu arrow and the icon.
class ProgramPictures final {
public:
    // File name and picture of each, in the order the build lists them.
    static std::vector<std::pair<std::string, QImage>> all();
    // The program's icon at size x size pixels, for the desktop's icon theme.
    static QImage programIcon(int size);
};

} // namespace vantrel::painter
