#pragma once

#include <QImage>
#include <QProxyStyle>

class QStyleOptionMenuItem;

namespace vantrel {

// The look of every pop-up menu of the program, set once for the whole
// application: dark items 20 pixels high, separators 5 pixels high with a
// light line, the selected item on a deep red ground, and a flat frame of
// three one-pixel rectangles. Items built by SkinMenu may also be drawn in the
// highlight colour or carry a "TM" mark. Everything else is Fusion's.
class SkinMenuStyle final : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 20;
    static constexpr int kSeparatorHeight = 5;
    static constexpr int kFrameWidth = 3;
    // Each character of an item's text counts this wide.
    static constexpr int kCharacterWidth = 8;

    static const QColor kBackColour;
    static const QColor kSelectedBackColour;
    static const QColor kLineColour;
    static const QColor kTextColour;
    static const QColor kSelectedTextColour;
    static const QColor kHighlightColour;
    // Disabled entries of menus the program does not build, such as an edit
    // box's own menu.
    static const QColor kDisabledTextColour;

    SkinMenuStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

private:
    void drawMenuItem(const QStyleOptionMenuItem& item, QPainter& painter,
                      const QWidget* widget) const;

    QImage m_arrow;
};

} // namespace vantrel
