#include "skins/painter/ControlArt.h"

#include "skin/ColourWord.h"
#include "skin/Palette.h"

#include <QPainterPath>

#include <map>

namespace vantrel::painter {

namespace {

struct Face {
    QColor top;
    QColor bottom;
    QColor border;
    QColor text;
    int borderWidth;
};

// The face of a push control in each look: hover lighter with the highlight
// around it, pressed sunk into the selection colour, disabled dimmed.
Face buttonFace(Look look) {
    switch (look) {
    case Look::Normal:
        return {colourFromWord(0x3E3E3E), colourFromWord(0x313131), colourFromWord(0x4E4E4E),
                colourFromWord(Palette::kText), 1};
    case Look::Over:
        return {colourFromWord(0x505050), colourFromWord(0x424242),
                colourFromWord(Palette::kHighlight), QColor(Qt::white), 1};
    case Look::Down:
        return {colourFromWord(Palette::kSelection).darker(140),
                colourFromWord(Palette::kSelection),
                colourFromWord(Palette::kSelection).lighter(190), QColor(Qt::white), 1};
    case Look::Disabled:
        break;
    }
    return {colourFromWord(0x2C2C2C), colourFromWord(0x2A2A2A), colourFromWord(0x353535),
            colourFromWord(Palette::kTextDisabled), 1};
}

void roundedBox(QPainter& p, const QRectF& r, qreal radius, const QColor& top, const QColor& bottom,
                const QColor& border, int borderWidth) {
    QLinearGradient gradient(r.topLeft(), r.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    const qreal half = borderWidth / 2.0;
    const QRectF inner = r.adjusted(half, half, -half, -half);
    p.setPen(QPen(border, borderWidth));
    p.setBrush(gradient);
    p.drawRoundedRect(inner, radius, radius);
}

void face(QPainter& p, const QRect& r, Look look, qreal radius = 5) {
    const Face f = buttonFace(look);
    roundedBox(p, r, radius, f.top, f.bottom, f.border, f.borderWidth);
    if (look == Look::Down) {
        // A shadow along the top edge: the face sits lower than the window.
        p.setPen(QPen(QColor(0, 0, 0, 110), 2));
        p.drawLine(QPointF(r.left() + radius, r.top() + 2),
                   QPointF(r.right() - radius, r.top() + 2));
    }
}

QRect pressedShift(const QRect& r, Look look) {
    return look == Look::Down ? r.translated(1, 1) : r;
}

void caption(QPainter& p, const QRect& r, const QString& text, Look look, int flags) {
    p.setPen(buttonFace(look).text);
    ControlArt::fitText(p, pressedShift(r, look), text, 13, flags);
}

void arrowGlyph(QPainter& p, const QRect& r, const QString& direction, const QColor& colour) {
    const QPointF c = QRectF(r).center();
    const qreal s = std::min(r.width(), r.height()) * 0.22;
    QPolygonF tri;
    if (direction == QLatin1String("left"))
        tri << QPointF(c.x() - s, c.y()) << QPointF(c.x() + s, c.y() - s)
            << QPointF(c.x() + s, c.y() + s);
    else if (direction == QLatin1String("right"))
        tri << QPointF(c.x() + s, c.y()) << QPointF(c.x() - s, c.y() - s)
            << QPointF(c.x() - s, c.y() + s);
    else if (direction == QLatin1String("up"))
        tri << QPointF(c.x(), c.y() - s) << QPointF(c.x() - s, c.y() + s)
            << QPointF(c.x() + s, c.y() + s);
    else
        tri << QPointF(c.x(), c.y() + s) << QPointF(c.x() - s, c.y() - s)
            << QPointF(c.x() + s, c.y() - s);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(tri);
}

void inset(QPainter& p, const QRect& r, const QColor& fill, qreal radius) {
    roundedBox(p, r, radius, fill, fill, colourFromWord(0x4A4A4A), 1);
}

void keycap(QPainter& p, const QRect& r, const QString& legend, Look look) {
    QColor body = colourFromWord(0x262626);
    QColor top = colourFromWord(0x383838);
    QColor border = colourFromWord(0x141414);
    QColor text = colourFromWord(Palette::kText);
    switch (look) {
    case Look::Normal:
        break;
    case Look::Over:
        top = colourFromWord(0x4C4C4C);
        border = colourFromWord(Palette::kHighlight);
        text = Qt::white;
        break;
    case Look::Down:
        body = colourFromWord(Palette::kSelection).darker(150);
        top = colourFromWord(Palette::kSelection).lighter(120);
        border = colourFromWord(Palette::kSelection).lighter(200);
        text = Qt::white;
        break;
    case Look::Disabled:
        top = colourFromWord(0x2C2C2C);
        text = colourFromWord(Palette::kTextDisabled);
        break;
    }
    roundedBox(p, r, 4, body, body, border, 1);
    // The top face sits inside the body, a little towards the top.
    const QRectF face = QRectF(r).adjusted(2, 2, -2, -5);
    p.setPen(Qt::NoPen);
    p.setBrush(top);
    p.drawRoundedRect(face, 3, 3);
    p.setPen(text);
    ControlArt::fitText(p, face.toRect().adjusted(1, 1, -1, -1), legend, 12,
                        Qt::AlignCenter | Qt::TextWordWrap);
}

void colourFrame(QPainter& p, const QRect& r, Look look) {
    const Face f = buttonFace(look);
    const int width = look == Look::Down ? 3 : (look == Look::Over ? 2 : 1);
    const QColor border = look == Look::Down ? colourFromWord(Palette::kHighlight) : f.border;
    roundedBox(p, r, 5, f.bottom, f.bottom, border, width);
}

} // namespace

QFont ControlArt::font(int pixelSize, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

void ControlArt::fitText(QPainter& painter, const QRect& rect, const QString& text, int pixelSize,
                         int flags) {
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QFont chosen = font(7);
    chosen.setStretch(QFont::ExtraCondensed);
    bool found = false;
    for (int size = pixelSize; size >= 7 && !found; --size) {
        // Narrower before smaller: a condensed legend reads better than a tiny one.
        for (const int stretch : {100, 85, 70}) {
            QFont f = font(size);
            f.setStretch(stretch);
            const QFontMetrics metrics(f);
            bool wordsFit = true;
            for (const QString& word : words)
                wordsFit = wordsFit && metrics.horizontalAdvance(word) <= rect.width();
            if (wordsFit && metrics.boundingRect(rect, flags, text).height() <= rect.height()) {
                chosen = f;
                found = true;
                break;
            }
        }
    }
    painter.setFont(chosen);
    painter.drawText(rect, flags, text);
}

ControlKind ControlArt::kindFromName(const QString& name) {
    static const std::map<QString, ControlKind> kinds{
        {QStringLiteral("button"), ControlKind::Button},
        {QStringLiteral("toggle"), ControlKind::Toggle},
        {QStringLiteral("menu"), ControlKind::Menu},
        {QStringLiteral("tab"), ControlKind::Tab},
        {QStringLiteral("close"), ControlKind::Close},
        {QStringLiteral("minimise"), ControlKind::Minimise},
        {QStringLiteral("arrow"), ControlKind::Arrow},
        {QStringLiteral("key"), ControlKind::Key},
        {QStringLiteral("colour"), ControlKind::Colour},
        {QStringLiteral("preset"), ControlKind::Preset},
        {QStringLiteral("value"), ControlKind::Value},
        {QStringLiteral("edit"), ControlKind::Edit},
        {QStringLiteral("list"), ControlKind::List},
        {QStringLiteral("slider"), ControlKind::Slider},
        {QStringLiteral("label"), ControlKind::Label},
        {QStringLiteral("picker"), ControlKind::Picker},
        {QStringLiteral("swatch"), ControlKind::Swatch},
        {QStringLiteral("blank"), ControlKind::Blank},
    };
    const auto it = kinds.find(name.trimmed().toLower());
    return it == kinds.end() ? ControlKind::Button : it->second;
}

void ControlArt::draw(QPainter& p, const QRect& r, const ControlHint& hint, Look look) {
    if (r.isEmpty())
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    switch (hint.kind) {
    case ControlKind::Button:
        face(p, r, look);
        caption(p, r.adjusted(6, 0, -6, 0), hint.caption, look, Qt::AlignCenter | Qt::TextWordWrap);
        break;
    case ControlKind::Toggle: {
        face(p, r, look);
        const QRect lamp(r.left() + 10, r.center().y() - 4, 9, 9);
        const QColor lampColour = look == Look::Down       ? colourFromWord(Palette::kHighlight)
                                  : look == Look::Disabled ? colourFromWord(0x383838)
                                  : look == Look::Over     ? colourFromWord(0x7A7A7A)
                                                           : colourFromWord(0x5A5A5A);
        p.setPen(Qt::NoPen);
        p.setBrush(lampColour);
        p.drawEllipse(pressedShift(lamp, look));
        caption(p, r.adjusted(26, 0, -6, 0), hint.caption, look,
                Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap);
        break;
    }
    case ControlKind::Menu:
        face(p, r, look);
        arrowGlyph(p, QRect(r.right() - r.height(), r.top() + 4, r.height() - 8, r.height() - 8),
                   QStringLiteral("down"), buttonFace(look).text);
        break;
    case ControlKind::Tab: {
        Face f = buttonFace(look);
        if (look == Look::Normal)
            f.top = f.bottom = colourFromWord(0x2E2E2E);
        roundedBox(p, r, 6, f.top, f.bottom, f.border, 1);
        if (look == Look::Down) {
            p.fillRect(QRect(r.left() + 8, r.bottom() - 3, r.width() - 16, 3),
                       colourFromWord(Palette::kHighlight));
        }
        caption(p, r.adjusted(6, 0, -6, 0), hint.caption, look, Qt::AlignCenter);
        break;
    }
    case ControlKind::Close:
    case ControlKind::Minimise: {
        if (look != Look::Normal && look != Look::Disabled) {
            const QColor fill =
                look == Look::Over ? colourFromWord(0x4A4A4A) : colourFromWord(Palette::kSelection);
            roundedBox(p, r, 4, fill, fill, fill.lighter(140), 1);
        }
        const QColor glyph = look == Look::Disabled ? colourFromWord(Palette::kTextDisabled)
                             : look == Look::Normal ? colourFromWord(Palette::kTextDim)
                                                    : QColor(Qt::white);
        p.setPen(QPen(glyph, 2, Qt::SolidLine, Qt::RoundCap));
        const QPointF c = QRectF(r).center();
        const qreal s = std::min(r.width(), r.height()) * 0.2;
        if (hint.kind == ControlKind::Close) {
            p.drawLine(QPointF(c.x() - s, c.y() - s), QPointF(c.x() + s, c.y() + s));
            p.drawLine(QPointF(c.x() - s, c.y() + s), QPointF(c.x() + s, c.y() - s));
        } else {
            p.drawLine(QPointF(c.x() - s, c.y() + s * 0.8), QPointF(c.x() + s, c.y() + s * 0.8));
        }
        break;
    }
    case ControlKind::Arrow:
        face(p, r, look);
        arrowGlyph(p, pressedShift(r, look), hint.caption, buttonFace(look).text);
        break;
    case ControlKind::Key:
        keycap(p, r, hint.caption, look);
        break;
    case ControlKind::Colour:
        colourFrame(p, r, look);
        break;
    case ControlKind::Preset: {
        colourFrame(p, r, look);
        QColor c = hint.colour;
        if (look == Look::Disabled)
            c = c.darker(250);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(r).adjusted(5, 5, -5, -5), 3, 3);
        break;
    }
    case ControlKind::Value: {
        const QColor fill = look == Look::Disabled ? colourFromWord(0x202020) : QColor(Qt::black);
        const QColor border = look == Look::Normal     ? colourFromWord(0x4E4E4E)
                              : look == Look::Disabled ? colourFromWord(0x333333)
                              : look == Look::Over
                                  ? colourFromWord(Palette::kHighlight)
                                  : colourFromWord(Palette::kSelection).lighter(200);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(r, fill);
        p.setPen(border);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        break;
    }
    case ControlKind::Edit:
        inset(p, r.adjusted(-2, -2, 2, 2), hint.colour.isValid() ? hint.colour : QColor(Qt::black),
              3);
        break;
    case ControlKind::List:
        inset(p, r, colourFromWord(0x1B1B1B), 4);
        break;
    case ControlKind::Slider: {
        const QRectF groove(r.left() + 2, r.center().y() - 2, r.width() - 4, 5);
        roundedBox(p, groove, 2.5, colourFromWord(0x121212), colourFromWord(0x1A1A1A),
                   colourFromWord(0x444444), 1);
        p.setPen(QPen(colourFromWord(0x555555), 1));
        for (int i = 0; i <= 10; ++i) {
            const qreal x = r.left() + 7 + (r.width() - 14) * i / 10.0;
            p.drawLine(QPointF(x, r.bottom() - 3), QPointF(x, r.bottom() - 1));
        }
        break;
    }
    case ControlKind::Label:
        inset(p, r, colourFromWord(0x1E1E1E), 3);
        break;
    case ControlKind::Picker:
    case ControlKind::Swatch:
        inset(p, r.adjusted(-3, -3, 3, 3), colourFromWord(0x1B1B1B), 4);
        break;
    case ControlKind::Blank:
        break;
    }
    p.restore();
}

} // namespace vantrel::painter
