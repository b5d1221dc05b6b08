#include "macro/KeyCapture.h"

#include "macro/ScanCodeTable.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QWindow>

namespace vantrel {

namespace {
Q_LOGGING_CATEGORY(lcKeyCapture, "vantrel.keycapture", QtWarningMsg)
}

KeyCapture::KeyCapture(const KeyboardLayout& layout, QObject* parent)
    : QObject(parent), m_layout(layout) {}

KeyCapture::~KeyCapture() {
    stop();
}

QString KeyCapture::notice(const QString& platformName) {
    // Without X a program cannot hold the keyboard; Wayland gives it only the
    // keys typed into its own focused window.
    if (platformName.startsWith(QLatin1String("wayland")))
        return QStringLiteral("Under Wayland keys cannot be captured from other windows.");
    return {};
}

bool KeyCapture::start(QWidget* target) {
    stop();
    if (!target)
        return false;
    m_target = target;
    m_active = true;
    ++m_generation;
    m_targetGone = connect(target, &QObject::destroyed, this, &KeyCapture::stop);
    QCoreApplication::instance()->installEventFilter(this);
    grab();
    return m_grabbed;
}

void KeyCapture::grab() {
    m_target->grabKeyboard();
    // QWidget::grabKeyboard() does not say whether the window system agreed;
    // asking the window again does, and repeats the same grab.
    QWindow* window = m_target->window()->windowHandle();
    m_grabbed = window && window->setKeyboardGrabEnabled(true);
    m_handle = m_grabbed ? static_cast<quint32>(window->winId()) : 0;
    qCDebug(lcKeyCapture, "Hhook: %x\r\n", m_handle);
}

void KeyCapture::stop() {
    if (!m_active)
        return;
    m_active = false;
    ++m_generation;
    disconnect(m_targetGone);
    QCoreApplication::instance()->removeEventFilter(this);
    if (m_target)
        m_target->releaseKeyboard();
    qCDebug(lcKeyCapture, "Hhook: %x\r\n", m_handle);
    if (m_grabbed)
        qCDebug(lcKeyCapture, "UnHhook: Success \r\n");
    else
        qCDebug(lcKeyCapture, "UnHhook: Fail \r\n");
    m_target = nullptr;
    m_grabbed = false;
    m_handle = 0;
}

bool KeyCapture::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Accepted, so that no shortcut of the program fires on a captured key.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // X announces each repeat of a held key with a release first; the key
        // has not gone up, and the repeated press is reported as it is.
        if (!(key->type() == QEvent::KeyRelease && key->isAutoRepeat()))
            report(key->nativeScanCode(), key->type() == QEvent::KeyRelease);
        return true;
    }
    case QEvent::Expose:
        // X grants the grab only to a window on screen, which a target shown
        // a moment ago may not be yet: ask again once it is.
        if (!m_grabbed && m_target && watched == m_target->window()->windowHandle() &&
            static_cast<QWindow*>(watched)->isExposed())
            grab();
        return false;
    default:
        return QObject::eventFilter(watched, event);
    }
}

void KeyCapture::report(quint32 xKeyCode, bool release) {
    const CapturedKey key = ScanCodeTable::keyFromXKeyCode(xKeyCode, m_layout);
    qCDebug(lcKeyCapture, "vkcode=%x,scancode=%x\n", key.virtualKey, key.scanCode);
    const quint32 flags = (key.extended ? kExtendedFlag : 0) | (release ? kReleaseFlag : 0);
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, generation, virtualKey = key.virtualKey, flags] {
            if (generation == m_generation)
                emit keyReported(virtualKey, flags);
        },
        Qt::QueuedConnection);
}

} // namespace vantrel
