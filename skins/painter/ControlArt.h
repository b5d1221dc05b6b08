#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QString>

namespace vantrel::painter {

// The four looks a skin draws of every window.
enum class Look { Normal, Over, Down, Disabled };

// What a control of a window is, as far as its pictures go.
enum class ControlKind {
    Button,   // caption in the middle
    Toggle,   // caption and a lamp that lights when down
    Menu,     // caption written at run time, an arrow at the right
    Tab,      // a profile tab
    Close,    // a cross
    Minimise, // a bar
    Arrow,    // a direction: caption "left", "right", "up" or "down"
    Key,      // a keycap with its legend
    Colour,   // a frame around a colour filled in at run time
    Preset,   // a fixed colour
    Value,    // a number box
    Edit,     // a text field, drawn the same in every look
    List,
    Slider,
    Label,
    Picker,
    Swatch,
    Blank, // a control that draws its own pictures
};

struct ControlHint {
    ControlKind kind = ControlKind::Button;
    QString caption;
    QColor colour; // Preset: the colour; Edit: the ground
};

// Draws one control in one look. Controls whose look does not change draw the
// same in all four.
class ControlArt final {
public:
    static ControlKind kindFromName(const QString& name);
    static void draw(QPainter& painter, const QRect& rect, const ControlHint& hint, Look look);
    // Writes text in rect, word-wrapped and shrunk until it fits.
    static void fitText(QPainter& painter, const QRect& rect, const QString& text, int pixelSize,
                        int flags);
    static QFont font(int pixelSize, bool bold = false);
};

} // namespace vantrel::painter
