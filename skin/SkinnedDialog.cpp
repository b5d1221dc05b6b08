#include "skin/SkinnedDialog.h"

#include "skin/BitmapEdit.h"
#include "skin/SkinButton.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <future>

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

} // namespace

SkinnedDialog::SkinnedDialog(std::string skinsFolder, std::string_view skinFile,
                             const SkinWindowKind& kind, QWidget* parent)
    : QDialog(parent, flagsFor(kind.role)), m_description(std::move(skinsFolder), skinFile),
      m_kind(kind) {
    // QDialog makes every dialog a window of its own; a page lives inside its parent.
    if (kind.role == SkinWindowKind::Role::Page)
        setWindowFlags(Qt::Widget);
    m_mask = loadPicture(m_description.picturePath("Mask"));
    m_background = loadPicture(m_description.picturePath("Normal"));
    // Sized but not moved: a dialog is centred over its owner when shown, and
    // the main window moves its pages into their areas.
    setFixedSize(m_background.size());

    // A mask that leaves nothing visible would make a window that can be
    // neither seen nor closed; such a window keeps its rectangle instead.
    m_outline = regionFromMask(m_mask);
    if (m_outline && m_outline->isEmpty())
        m_outline.reset();
    if (m_outline)
        setMask(*m_outline);
}

void SkinnedDialog::createSkinnedButton(SkinButton& button, const ControlPlacement& placement) {
    const QRect rect(placement.left, placement.top, placement.width(), placement.height());
    button.setGeometry(rect);
    button.setPicturesFromSkin(rect, statePictures());
    button.setChecked(false);
    button.setHintText(QString::fromStdString(placement.text), true);
    button.show();
}

QWidget* SkinnedDialog::placeControl(int key, const char* role, int index, ControlKind kind) {
    const ControlPlacement placement = m_description.buttonPlacement(key);
    QWidget* widget = nullptr;
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::ToggleButton: {
        auto* button = new SkinButton(this);
        button->setToggleMode(kind == ControlKind::ToggleButton);
        createSkinnedButton(*button, placement);
        widget = button;
        break;
    }
    case ControlKind::TextBox: {
        auto* box = new BitmapEdit(this);
        box->setGeometry(placement.left, placement.top, placement.width(), placement.height());
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
        // Decoding full-window pictures is most of a window's start: the three
        // that only controls use are decoded side by side, and only for a
        // window that has controls.
        const auto decode = [this](std::string_view key) {
            return std::async(std::launch::async, loadPicture, m_description.picturePath(key));
        };
        std::future<SkinImage> over = decode("Over");
        std::future<SkinImage> down = decode("Down");
        m_statePictures.normal = m_background;
        m_statePictures.disabled = loadPicture(m_description.picturePath("Disable"));
        m_statePictures.over = over.get();
        m_statePictures.down = down.get();
        m_statePicturesLoaded = true;
    }
    return m_statePictures;
}

void SkinnedDialog::releaseStatePictures() {
    m_statePictures = {};
    m_statePicturesLoaded = true;
}

void SkinnedDialog::paintContents(QPainter&) {}

void SkinnedDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_background.image());
    paintContents(painter);
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

void SkinnedDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    case Qt::Key_Space:
        if (m_kind.dropsSpace) {
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

void SkinnedDialog::closeEvent(QCloseEvent* event) {
    // Only the window's own buttons end it.
    event->ignore();
}

} // namespace vantrel
