#pragma once

#include <QImage>
#include <QSize>

#include <string>

namespace vantrel::painter {

// The pictures of the skin that have fixed names: the slider thumb and the
// six looks of the macro manager's record button.
class FixedPictures final {
public:
    // Magenta around the thumb: the slider cuts its outline by the corner colour.
    static QImage sliderThumb();
    // recording: the stop looks; otherwise the start looks. Only normal, over
    // and down are drawn: the normal one also serves as disabled.
    static QImage recordButton(QSize size, bool recording, int look);

    static bool saveAll(const std::string& folder, QSize recordSize);
};

} // namespace vantrel::painter
