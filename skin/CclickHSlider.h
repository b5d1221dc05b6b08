#pragma once

#include "skin/SkinImage.h"

#include <QWidget>

#include <string>

namespace vantrel {

class CPHSlider;

// A horizontal slider drawn from pictures: this track, whose look is the part
// of its page's picture under it, and a thumb picture from the skins folder.
// Dragging the thumb or clicking the track gives the page the new value with
// the track's identifier. Pages connect valueChanged queued, so that a value
// arrives after the mouse event that set it has been handled.
class CclickHSlider final : public QWidget {
    Q_OBJECT
public:
    // The track at rect of page with its thumb from thumbFile (a ".bmp"), at
    // value 0 of the range 0..10. Nothing is made when the thumb picture cannot
    // be read.
    static CclickHSlider* create(const std::string& thumbFile, const QRect& rect, QWidget* page,
                                 int controlId);

    // The look of the track: rect cut out of the page's "Normal" picture.
    void setBackground(const QRect& rect, const SkinImage& pagePicture);
    void setRange(int minimum, int maximum);
    void setRounding(bool rounding);
    // Moves the thumb without a notice; see CPHSlider::setValue.
    void setValue(int value);
    int value() const;
    int controlId() const { return m_controlId; }

signals:
    // The user set a value, by a click or with the thumb.
    void valueChanged(int value, int controlId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CclickHSlider(QImage thumbPicture, const QRect& rect, QWidget* page, int controlId);
    void onThumbMoved(int value);

    SkinImage m_background;
    CPHSlider* m_thumb;
    int m_controlId;
};

} // namespace vantrel
