#pragma once

#include <QFont>
#include <QWidget>

namespace vantrel {

// One line of white text on a dark ground, such as the percentage beside a
// lighting page's slider: centred, or left-aligned in a narrower font when compact.
class SkinLabel final : public QWidget {
    Q_OBJECT
public:
    SkinLabel(const QRect& rect, QWidget* parent);

    void setText(const QString& text);
    const QString& text() const { return m_text; }

    void setCompact(bool compact);
    bool compact() const { return m_compact; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    bool m_compact = false;
    QFont m_font;
};

} // namespace vantrel
