#pragma once

#include "settings/IniFile.h"
#include "skins/painter/ControlArt.h"

#include <QImage>

#include <set>
#include <string>

namespace vantrel::painter {

// Draws the five pictures of one window from its description file: the
// placements the program reads, and the hints of section "PAINTER", which
// only this painter reads.
class WindowPainter final {
public:
    explicit WindowPainter(const std::string& descriptionPath);

    QSize size() const { return m_size; }
    QImage mask() const;
    QImage picture(Look look) const;

    // Writes the pictures under the names the "SCREEN" section gives them.
    // Descriptions may share pictures: one already painted this run (in
    // painted) is checked to be the same, not written again.
    bool save(const std::string& folder, std::set<std::string>& painted) const;

private:
    QString hint(const QString& key) const;
    void paintGround(QPainter& painter) const;
    void paintControls(QPainter& painter, Look look) const;
    ControlHint controlHint(int key) const;

    IniFile m_file;
    QSize m_size;
    int m_radius;
    int m_strip;
    int m_firstKey; // "BUTTONPOS" key of key position 0 on the keyboard picture, or 0
};

// Saves by the name's suffix: ".bmp", ".jpg" or ".png".
bool savePicture(const QImage& image, const std::string& path);

} // namespace vantrel::painter
