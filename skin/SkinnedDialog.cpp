#include "skin/SkinnedDialog.h"

#include "skin/BitmapEdit.h"
#include "skin/ColourButton.h"
#include "skin/ColourWord.h"
#include "skin/Palette.h"
#include "skin/SkinButton.h"
#include "skin/SkinFonts.h"
#include "skin/SkinLabel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace vantrel {

namespace {

Qt::WindowFlags flagsFor(SkinWindowKind::Role role) {
    switch (role) {
    case SkinWindowKind::Role::MainWindow:
        return Qt::Window | Qt::FramelessWindowHint;
    case SkinWindowKind::Role::Dialog:
        return Qt::Dialog | Qt::FramelessWindowHint;
    case SkinWindowKind::Role::Page:
        break;
    }
    return Qt::Widget;
}

// Escape, Enter and Space are dropped before any control of the window sees
// them, so they neither close it nor press its buttons; their releases still
// reach in-place editors, which act on release.
class KeyGate final : public QObject {
public:
    explicit KeyGate(QWidget& window) : QObject(&window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->window() == &m_window &&
                SkinnedDialog::dropsKeyPress(*widget, static_cast<QKeyEvent*>(event)->key()))
                return true;
        }
        return false;
    }

private:
    QWidget& m_window;
};

} // namespace

SkinnedDialog::SkinnedDialog(std::string skinsFolder, std::string_view skinFile,
                             const SkinWindowKind& kind, QWidget* parent)
    : QDialog(parent, flagsFor(kind.role)), m_description(std::move(skinsFolder), skinFile),
      m_kind(kind) {
    // QDialog makes every dialog a window of its own; a page lives inside its parent.
    if (kind.role == SkinWindowKind::Role::Page)
        setWindowFlags(Qt::Widget);
    else
        m_keyGate = new KeyGate(*this);
    // paintEvent covers every pixel, so nothing need be erased before it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    const std::string backgroundPath = m_description.picturePath("Normal");
    m_background = loadPicture(backgroundPath);
    if (m_background.isEmpty()) {
        // Without its picture the window still has to be seen and closed: it
        // takes a plain size that grows to hold its controls, and says why.
        m_damagedPicture =
            backgroundPath.empty() ? m_description.filePath(skinFile) : backgroundPath;
        qWarning("The picture %s cannot be read.", m_damagedPicture.c_str());
        if (kind.role != SkinWindowKind::Role::Page)
            setFixedSize(kDamagedSize);
        return;
    }
    // Sized but not moved: a dialog is centred over its owner when shown, and
    // the main window moves its pages into their areas.
    setFixedSize(m_background.size());

    // A mask that leaves nothing visible would make a window that can be
    // neither seen nor closed; such a window keeps its rectangle instead.
    const std::string maskPath = m_description.picturePath("Mask");
    m_outline = regionFromMask(loadMask(maskPath));
    if (m_outline && m_outline->isEmpty())
        m_outline.reset();
    if (m_outline)
        setMask(*m_outline);
    else if (!maskPath.empty())
        qWarning("The picture %s cannot be read; the window keeps its rectangle.",
                 maskPath.c_str());
}

QString SkinnedDialog::damageNotice() const {
    if (m_damagedPicture.empty())
        return {};
    return QStringLiteral("The picture %1 cannot be read.")
        .arg(QString::fromStdString(m_damagedPicture));
}

void SkinnedDialog::createSkinnedButton(SkinButton& button, const ControlPlacement& placement) {
    const QRect rect = rectOf(placement);
    button.setGeometry(rect);
    button.setPicturesFromSkin(rect, statePictures());
    button.setChecked(false);
    button.setHintText(QString::fromStdString(placement.text), true);
    // A window without its pictures names its buttons instead.
    if (!m_damagedPicture.empty()) {
        button.setText(QString::fromStdString(placement.name));
        if (m_kind.role != SkinWindowKind::Role::Page)
            setFixedSize(size().expandedTo(
                QSize(rect.right() + 9, rect.bottom() + 9 + kDamageNoticeHeight)));
    }
    button.show();
}

QWidget* SkinnedDialog::placeControl(int key, const char* role, int index, ControlKind kind) {
    const ControlPlacement placement = m_description.buttonPlacement(key);
    QWidget* widget = nullptr;
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::ToggleButton:
    case ControlKind::ColourButton: {
        SkinButton* button =
            kind == ControlKind::ColourButton ? new ColourButton(this) : new SkinButton(this);
        button->setToggleMode(kind == ControlKind::ToggleButton);
        createSkinnedButton(*button, placement);
        widget = button;
        break;
    }
    case ControlKind::Label:
        widget = new SkinLabel(rectOf(placement), this);
        widget->show();
        break;
    case ControlKind::TextBox: {
        auto* box = new BitmapEdit(this);
        box->setGeometry(rectOf(placement));
        widget = box;
        break;
    }
    }
    QString name = QString::fromLatin1(role);
    if (index >= 0)
        name += QString::number(index);
    widget->setObjectName(name);
    m_controls[key] = widget;
    return widget;
}

void SkinnedDialog::onClick(QWidget* control, std::function<void()> action) {
    auto* button = qobject_cast<QAbstractButton*>(control);
    // Only buttons are clicked; a table giving another control an action is wrong.
    Q_ASSERT(button);
    if (button)
        connect(button, &QAbstractButton::clicked, this, std::move(action));
}

const SkinPictures& SkinnedDialog::statePictures() {
    if (!m_statePicturesLoaded) {
        m_statePictures.normal = m_background;
        m_statePictures.over = loadPicture(m_description.picturePath("Over"));
        m_statePictures.down = loadPicture(m_description.picturePath("Down"));
        m_statePictures.disabled = loadPicture(m_description.picturePath("Disable"));
        m_statePicturesLoaded = true;
    }
    return m_statePictures;
}

void SkinnedDialog::releaseStatePictures() {
    m_statePictures = {};
    m_statePicturesLoaded = true;
}

void SkinnedDialog::paintContents(QPainter&) {}

void SkinnedDialog::paintNotice(QPainter& painter, const QRect& area, const QString& text) {
    painter.setPen(colourFromWord(Palette::kHighlight));
    painter.setFont(SkinFonts::version());
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text);
}

void SkinnedDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_background.isEmpty()) {
        painter.fillRect(rect(), colourFromWord(Palette::kGround));
        painter.setPen(colourFromWord(Palette::kText));
        painter.setFont(SkinFonts::version());
        // Below every control, so that none hides it.
        const QRect strip(12, height() - kDamageNoticeHeight, width() - 24,
                          kDamageNoticeHeight - 8);
        painter.drawText(strip, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                         damageNotice());
    } else {
        painter.drawImage(0, 0, m_background.image());
    }
    paintContents(painter);
}

void SkinnedDialog::setVisible(bool visible) {
    // Centred over the owner exactly: on X11 Qt's own placement allows for a
    // frame that a frameless window does not have.
    if (visible && !isVisible() && m_kind.role == SkinWindowKind::Role::Dialog && parentWidget()) {
        const QRect owner = parentWidget()->window()->geometry();
        move(owner.x() + (owner.width() - width()) / 2,
             owner.y() + (owner.height() - height()) / 2);
    }
    QDialog::setVisible(visible);
}

void SkinnedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_keyGate)
        qApp->installEventFilter(m_keyGate);
}

void SkinnedDialog::hideEvent(QHideEvent* event) {
    if (m_keyGate)
        qApp->removeEventFilter(m_keyGate);
    QDialog::hideEvent(event);
}

bool SkinnedDialog::dropsKeyPress(const QWidget& receiver, int key) {
    switch (key) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    case Qt::Key_Space:
        // The nearest skinned window around the receiver decides: a page may
        // drop Space where its main window does not.
        for (const QWidget* w = &receiver; w; w = w->parentWidget()) {
            if (const auto* skinned = qobject_cast<const SkinnedDialog*>(w))
                return skinned->m_kind.dropsSpace;
        }
        return false;
    default:
        return false;
    }
}

void SkinnedDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    // A window that is not dragged keeps the press to itself, so that a page
    // does not pass it on to the main window.
    event->accept();
    if (!m_kind.dragMovesWindow)
        return;
    QWidget* target = window();
    QWindow* handle = target->windowHandle();
    // On X11 the window manager runs the move, as for a title bar.
    if (QGuiApplication::platformName() == QLatin1String("xcb") && handle &&
        handle->startSystemMove())
        return;
    m_dragOffset = event->globalPosition().toPoint() - target->pos();
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragOffset && (event->buttons() & Qt::LeftButton)) {
        window()->move(event->globalPosition().toPoint() - *m_dragOffset);
        event->accept();
        return;
    }
    event->ignore();
}

void SkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragOffset.reset();
    event->ignore();
}

void SkinnedDialog::closeEvent(QCloseEvent* event) {
    // Only the window's own buttons end it.
    event->ignore();
}

} // namespace vantrel
