#include "skin/SkinnedDialog.h"

#include "skin/SkinButton.h"

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

} // namespace

SkinnedDialog::SkinnedDialog(std::string skinsFolder, std::string_view skinFile,
                             const SkinWindowKind& kind, QWidget* parent)
    : QDialog(parent, flagsFor(kind.role)), m_description(std::move(skinsFolder), skinFile),
      m_kind(kind) {
    // QDialog makes every dialog a window of its own; a page lives inside its parent.
    if (kind.role == SkinWindowKind::Role::Page)
        setWindowFlags(Qt::Widget);
    m_mask = loadPicture(m_description.picturePath("Mask"));
    m_statePictures.normal = loadPicture(m_description.picturePath("Normal"));
    m_statePictures.over = loadPicture(m_description.picturePath("Over"));
    m_statePictures.down = loadPicture(m_description.picturePath("Down"));
    m_statePictures.disabled = loadPicture(m_description.picturePath("Disable"));
    m_background = m_statePictures.normal;
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
    button.setPicturesFromSkin(rect, m_statePictures);
    button.setCheck(false);
    button.setHintText(QString::fromStdString(placement.text), true);
    button.show();
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
