#include "skins/painter/FixedPictures.h"

#include "skin/ColourWord.h"
#include "skin/Palette.h"
#include "skins/painter/ControlArt.h"
#include "skins/painter/WindowPainter.h"

namespace vantrel::painter {

QImage FixedPictures::sliderThumb() {
    QImage image(14, 24, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter p(&image);
    // Hard edges only: a blended edge pixel would be neither key nor thumb.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(colourFromWord(0x6A6A6A));
    p.setBrush(colourFromWord(0xD8D8D8));
    p.drawRoundedRect(QRect(1, 1, 11, 21), 3, 3);
    p.fillRect(QRect(6, 6, 2, 12), colourFromWord(Palette::kHighlight));
    return image;
}

QImage FixedPictures::recordButton(QSize size, bool recording, int look) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colourFromWord(Palette::kGround));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const Look l = look == 1 ? Look::Over : (look == 2 ? Look::Down : Look::Normal);
    ControlHint hint;
    hint.kind = ControlKind::Blank;
    const QRect r(QPoint(0, 0), size);
    const QColor fill = recording ? colourFromWord(Palette::kSelection) : colourFromWord(0x363636);
    const QColor face =
        l == Look::Over ? fill.lighter(140) : (l == Look::Down ? fill.darker(140) : fill);
    const QColor border = l == Look::Over ? colourFromWord(Palette::kHighlight) : face.lighter(160);
    p.setPen(QPen(border, 1));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    const int shift = l == Look::Down ? 1 : 0;
    const QRectF mark(14 + shift, size.height() / 2.0 - 6 + shift, 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(recording ? QColor(Qt::white) : QColor(230, 50, 40));
    if (recording)
        p.drawRect(mark);
    else
        p.drawEllipse(mark);
    p.setPen(Qt::white);
    ControlArt::fitText(p, QRect(34 + shift, shift, size.width() - 40, size.height()),
                        recording ? QStringLiteral("Stop") : QStringLiteral("Record"), 13,
                        Qt::AlignVCenter | Qt::AlignLeft);
    return image;
}

bool FixedPictures::saveAll(const std::string& folder, QSize recordSize) {
    bool ok = savePicture(sliderThumb(), folder + "slider.bmp");
    const char* looks[] = {"normal", "over", "down"};
    for (const bool recording : {false, true}) {
        for (int look = 0; look < 3; ++look) {
            const std::string name =
                std::string(recording ? "stop" : "start") + "_record_" + looks[look] + ".jpg";
            ok = savePicture(recordButton(recordSize, recording, look), folder + name) && ok;
        }
    }
    return ok;
}

} // namespace vantrel::painter
