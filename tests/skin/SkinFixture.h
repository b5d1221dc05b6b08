#pragma once

#include "tests/TempDir.h"

#include <QImage>
#include <QPainter>

#include <map>
#include <string>

namespace vantrel::test {

// The blue channel of a state picture: which picture a grab came from.
enum class State { Normal = 40, Over = 100, Down = 160, Disabled = 220 };

// A pixel that depends on where it lies and on the state, so that a wrongly
// placed cut shows as much as a wrong state.
inline QImage statePicture(QSize size, State state) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, static_cast<int>(state)));
    return image;
}

// A mask whose four corner squares of side cut are white (outside).
inline QImage cornerMask(QSize size, int cut) {
    QImage mask(size, QImage::Format_RGB32);
    mask.fill(Qt::black);
    QPainter painter(&mask);
    const int w = size.width();
    const int h = size.height();
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(w - cut, 0), QPoint(0, h - cut), QPoint(w - cut, h - cut)})
        painter.fillRect(QRect(corner, QSize(cut, cut)), Qt::white);
    return mask;
}

// Writes skin file name with its five pictures (mask unless withMask is false)
// and the given "BUTTONPOS" lines into the folder.
inline void writeSkin(const TempDir& dir, const std::string& name, QSize size,
                      const std::map<int, std::string>& buttons, bool withMask = true) {
    const QString base = QString::fromStdString(dir.folder() + name);
    std::string ini = "[SCREEN]\r\n";
    if (withMask) {
        cornerMask(size, 6).save(base + QStringLiteral("_mask.bmp"));
        ini += "Mask=" + name + "_mask.bmp\r\n";
    }
    const std::pair<const char*, State> states[] = {{"Normal", State::Normal},
                                                    {"Over", State::Over},
                                                    {"Down", State::Down},
                                                    {"Disable", State::Disabled}};
    for (const auto& [key, state] : states) {
        const std::string file = name + "_" + key + ".png";
        statePicture(size, state).save(QString::fromStdString(dir.folder() + file));
        ini += std::string(key) + "=" + file + "\r\n";
    }
    ini += "[BUTTONPOS]\r\n";
    for (const auto& [key, value] : buttons)
        ini += std::to_string(key) + "=" + value + "\r\n";
    writeFile(dir.file(name), ini);
}

} // namespace vantrel::test
