#pragma once

#include "lighting/ValueBoxScale.h"
#include "skin/SkinImage.h"

#include <QWidget>

namespace vantrel {

class BitmapEdit;

// A numeric box for one colour byte (or any bounded number): a digits-only
// edit on the box's picture that tells its owner every value it settles on,
// rounded to the step and within the range.
class ColourValueBox final : public QWidget {
    Q_OBJECT
public:
    // A child of owner at rect; identifier goes with every notice.
    ColourValueBox(const QRect& rect, int identifier, QWidget* owner);

    // Cuts the box's four looks at rect out of its owner's full-window
    // pictures; the normal one is its background.
    void setPicturesFromSkin(const QRect& rect, const SkinPictures& windowPictures);
    const SkinPictures& pictures() const { return m_pictures; }

    // The edit then takes as many characters as the maximum has, and one
    // more and a sign when the minimum is negative.
    void setRange(int minimum, int maximum);
    // Values are rounded to a multiple of step.
    void setStep(int step);

    // Rewrites the text only when it differs from the value's digits.
    void setValue(int value);
    int value() const { return m_value; }
    int identifier() const { return m_identifier; }
    BitmapEdit* edit() const { return m_edit; }

signals:
    // After every validation of the text. Emitted at once; receivers connect queued.
    void valueSet(int value, int identifier);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // After a change of the text or a focus loss.
    void validate();
    // After Enter was released in the edit.
    void validateEnter();

    ValueBoxScale m_scale;
    int m_value = 0;
    int m_identifier;
    BitmapEdit* m_edit;
    SkinPictures m_pictures;
};

} // namespace vantrel
