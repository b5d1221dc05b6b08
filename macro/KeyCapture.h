#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace vantrel {

class KeyboardLayout;

// Takes every key press and release of the desktop for one target window at a
// time, for recording macros and entering shortcuts. While a capture runs the
// keyboard is grabbed, so no other program receives keys, and the program's own
// key events are swallowed before any widget or shortcut sees them. Each key
// becomes a report of its virtual-key code and flags.
class KeyCapture final : public QObject {
    Q_OBJECT

public:
    static constexpr quint32 kExtendedFlag = 0x01;
    static constexpr quint32 kReleaseFlag = 0x80;

    explicit KeyCapture(const KeyboardLayout& layout, QObject* parent = nullptr);
    ~KeyCapture() override;

    // Ends a running capture, then captures for the target, which should be
    // shown. Returns whether the window system granted the keyboard grab: it
    // refuses while the target is hidden (a target not yet on screen is
    // grabbed once it is) or another program holds the keyboard,
    // and some platforms (Wayland without XWayland, offscreen) never grant it;
    // the keys the program itself receives are still reported then.
    bool start(QWidget* target);
    // What the windows that capture keys say on a platform where keys of
    // other programs cannot be captured; empty where they can.
    static QString notice(const QString& platformName);
    // Ends the capture; reports of keys not yet delivered are dropped.
    void stop();
    bool active() const { return m_active; }
    bool grabbed() const { return m_grabbed; }
    QWidget* target() const { return m_target; }

signals:
    // One key went down or up: virtual-key code, flags (bit 0 extended key,
    // bit 7 release). Always emitted from the event loop after the key event
    // was handled, in the order of the keys, like a posted message.
    void keyReported(quint32 virtualKey, quint32 flags);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void grab();
    void report(quint32 xKeyCode, bool release);

    const KeyboardLayout& m_layout;
    QPointer<QWidget> m_target;
    QMetaObject::Connection m_targetGone;
    bool m_active = false;
    bool m_grabbed = false;
    quint32 m_handle = 0;
    // Tells the reports of one capture from those of the next.
    quint64 m_generation = 0;
};

} // namespace vantrel
