#include "macro/KeyCapture.h"
#include "macro/Clock.h"
#include "macro/MacroRecorder.h"
#include "macro/XkbKeyboardLayout.h"
#include "settings/KeyNames.h"
#include "settings/KeyTable.h"
#include "settings/UsKeyboardLayout.h"
#include "tests/XServer.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QShortcut>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>
#include <xcb/xcb.h>

using namespace vantrel;
using vantrel::test::XServer;

namespace {

using Report = std::pair<quint32, quint32>;
using Reports = std::vector<Report>;

constexpr quint32 kRelease = KeyCapture::kReleaseFlag;
constexpr quint32 kExtended = KeyCapture::kExtendedFlag;
constexpr quint32 kXKeyA = 38;
constexpr quint32 kXKeyRight = 114;

// A window that counts the key events that reach it.
class Target final : public QWidget {
public:
    Target() { resize(200, 100); }
    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keys; }
    void keyReleaseEvent(QKeyEvent*) override { ++keys; }
};

Reports* collect(KeyCapture& capture, Reports& reports) {
    QObject::connect(&capture, &KeyCapture::keyReported, &capture,
                     [&reports](quint32 vk, quint32 flags) { reports.emplace_back(vk, flags); });
    return &reports;
}

// A key event as the window system delivers it, with its X key code.
void sendKey(QWidget* to, QEvent::Type type, quint32 xKeyCode, bool autoRepeat = false) {
    QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, xKeyCode, 0, 0, QString(), autoRepeat);
    QCoreApplication::sendEvent(to, &event);
}

void showAndWait(QWidget& widget) {
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
}

} // namespace

TEST(KeyCapture, ReportsArriveLaterInOrderAndTheKeysAreSwallowed) {
    const UsKeyboardLayout us;
    KeyCapture capture(us);
    Reports reports;
    collect(capture, reports);
    Target target;
    showAndWait(target);

    capture.start(&target);
    EXPECT_TRUE(capture.active());
    EXPECT_EQ(capture.target(), &target);
    sendKey(&target, QEvent::KeyPress, kXKeyA);
    sendKey(&target, QEvent::KeyPress, kXKeyA, true);
    sendKey(&target, QEvent::KeyRelease, kXKeyA, true); // announces a repeat only
    sendKey(&target, QEvent::KeyPress, kXKeyA, true);
    sendKey(&target, QEvent::KeyRelease, kXKeyA);
    sendKey(&target, QEvent::KeyPress, kXKeyRight);
    sendKey(&target, QEvent::KeyRelease, kXKeyRight);
    EXPECT_TRUE(reports.empty()); // like posted messages, not yet
    QCoreApplication::processEvents();
    EXPECT_EQ(reports, (Reports{{'A', 0},
                                {'A', 0},
                                {'A', 0},
                                {'A', kRelease},
                                {39, kExtended},
                                {39, kExtended | kRelease}}));
    EXPECT_EQ(target.keys, 0);

    capture.stop();
    EXPECT_FALSE(capture.active());
    sendKey(&target, QEvent::KeyPress, kXKeyA);
    QCoreApplication::processEvents();
    EXPECT_EQ(target.keys, 1);
    EXPECT_EQ(reports.size(), 6u);
}

TEST(KeyCapture, NoShortcutFiresWhileCapturing) {
    const UsKeyboardLayout us;
    KeyCapture capture(us);
    Reports reports;
    collect(capture, reports);
    Target target;
    showAndWait(target);
    target.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&target));
    QShortcut shortcut(QKeySequence(Qt::Key_F5), &target);
    int fired = 0;
    QObject::connect(&shortcut, &QShortcut::activated, &target, [&fired] { ++fired; });

    QTest::keyClick(&target, Qt::Key_F5);
    ASSERT_EQ(fired, 1); // the shortcut works when nothing captures
    target.keys = 0;     // the release did reach the window

    capture.start(&target);
    QTest::keyClick(&target, Qt::Key_F5);
    QCoreApplication::processEvents();
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(target.keys, 0);
    // An event without an X key code is a key the table does not know.
    EXPECT_EQ(reports, (Reports{{0, 0}, {0, kRelease}}));
}

TEST(KeyCapture, OneCaptureAtATimeAndAStopDropsWhatIsPending) {
    const UsKeyboardLayout us;
    KeyCapture capture(us);
    Reports reports;
    collect(capture, reports);
    Target first;
    Target second;
    showAndWait(first);
    showAndWait(second);

    capture.start(&first);
    sendKey(&first, QEvent::KeyPress, kXKeyA);
    capture.start(&second); // the first capture ends with its report undelivered
    EXPECT_EQ(capture.target(), &second);
    sendKey(&first, QEvent::KeyPress, kXKeyRight); // every window's keys are held
    QCoreApplication::processEvents();
    EXPECT_EQ(reports, (Reports{{39, kExtended}}));
    EXPECT_EQ(first.keys + second.keys, 0);

    sendKey(&second, QEvent::KeyRelease, kXKeyRight);
    capture.stop();
    QCoreApplication::processEvents();
    EXPECT_EQ(reports.size(), 1u);
}

TEST(KeyCapture, EndsWhenTheTargetIsDestroyed) {
    const UsKeyboardLayout us;
    KeyCapture capture(us);
    Target other;
    {
        Target target;
        showAndWait(target);
        capture.start(&target);
        EXPECT_TRUE(capture.active());
    }
    EXPECT_FALSE(capture.active());
    EXPECT_EQ(capture.target(), nullptr);
    sendKey(&other, QEvent::KeyPress, kXKeyA);
    EXPECT_EQ(other.keys, 1);
}

namespace {
std::vector<QString>* g_debugLines = nullptr;
void keepDebugLine(QtMsgType, const QMessageLogContext& context, const QString& text) {
    if (g_debugLines && QLatin1String(context.category) == QLatin1String("vantrel.keycapture"))
        g_debugLines->push_back(text);
}
} // namespace

TEST(KeyCapture, DebugLinesGoToTheirCategory) {
    const UsKeyboardLayout us;
    Target target;
    showAndWait(target);
    std::vector<QString> lines;
    g_debugLines = &lines;
    QLoggingCategory::setFilterRules(QStringLiteral("vantrel.keycapture.debug=true"));
    const QtMessageHandler previous = qInstallMessageHandler(keepDebugLine);
    {
        KeyCapture capture(us);
        const bool grabbed = capture.start(&target);
        sendKey(&target, QEvent::KeyPress, kXKeyA);
        capture.stop();
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Hhook: ")) &&
                    lines[0].endsWith(QStringLiteral("\r\n")));
        EXPECT_EQ(grabbed, lines[0] != QStringLiteral("Hhook: 0\r\n"));
        EXPECT_EQ(lines[1], QStringLiteral("vkcode=41,scancode=1e\n"));
        EXPECT_EQ(lines[2], lines[0]);
        EXPECT_EQ(lines[3], grabbed ? QStringLiteral("UnHhook: Success \r\n")
                                    : QStringLiteral("UnHhook: Fail \r\n"));
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    g_debugLines = nullptr;
}

// ---- With a real X server ----

namespace {

// Another program's window on the same display, holding the keyboard focus.
class OtherClient {
public:
    explicit OtherClient(const std::string& display) {
        m_connection = xcb_connect(display.c_str(), nullptr);
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        m_window = xcb_generate_id(m_connection);
        const uint32_t events =
            XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 300, 300, 100,
                          100, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_EVENT_MASK, &events);
        xcb_map_window(m_connection, m_window);
        xcb_flush(m_connection);
        while (xcb_generic_event_t* event = xcb_wait_for_event(m_connection)) {
            const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped)
                break;
        }
        xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_POINTER_ROOT, m_window, XCB_CURRENT_TIME);
        roundTrip(m_connection);
    }
    ~OtherClient() { xcb_disconnect(m_connection); }

    // The key events received so far, after everything the server sent before.
    int keyEvents() {
        roundTrip(m_connection);
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            const int type = event->response_type & 0x7F;
            m_keys += type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE;
            std::free(event);
        }
        return m_keys;
    }

    static void roundTrip(xcb_connection_t* connection) {
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }

private:
    xcb_connection_t* m_connection;
    xcb_window_t m_window;
    int m_keys = 0;
};

// Makes sure the program's own requests (grab, ungrab) reached the server.
void syncProgram() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_TRUE(x11);
    OtherClient::roundTrip(x11->connection());
}

bool xdotool(const QStringList& keys) {
    return vantrel::test::runProgram(QStringLiteral("xdotool"),
                                     QStringList{QStringLiteral("key")} + keys);
}

#define REQUIRE_X_WITH(program)                                                                    \
    if (!XServer::instance().running())                                                            \
        GTEST_SKIP() << XServer::instance().whyNot();                                              \
    if (!vantrel::test::installed(program))                                                        \
    GTEST_SKIP() << program << " is not installed (scripts/deps.sh installs it)"

} // namespace

TEST(KeyCaptureOnX, RealKeysReachTheTargetAndNoOtherWindow) {
    REQUIRE_X_WITH("xdotool");
    OtherClient other(XServer::instance().display());
    ASSERT_TRUE(xdotool({QStringLiteral("a")}));
    ASSERT_EQ(other.keyEvents(), 2); // keys do reach the other window without a capture

    const UsKeyboardLayout us;
    KeyCapture capture(us);
    Reports reports;
    collect(capture, reports);
    Target target;
    showAndWait(target);
    ASSERT_TRUE(capture.start(&target));
    EXPECT_TRUE(capture.grabbed());

    ASSERT_TRUE(xdotool({QStringLiteral("a"), QStringLiteral("Right"), QStringLiteral("KP_Enter"),
                         QStringLiteral("Escape")}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return reports.size() >= 8; }, 5000));
    EXPECT_EQ(reports, (Reports{{'A', 0},
                                {'A', kRelease},
                                {39, kExtended},
                                {39, kExtended | kRelease},
                                {13, kExtended},
                                {13, kExtended | kRelease},
                                {27, 0},
                                {27, kRelease}}));
    EXPECT_EQ(other.keyEvents(), 2);
    EXPECT_EQ(target.keys, 0);

    capture.stop();
    syncProgram();
    ASSERT_TRUE(xdotool({QStringLiteral("b")}));
    EXPECT_EQ(other.keyEvents(), 4);
    QCoreApplication::processEvents();
    EXPECT_EQ(reports.size(), 8u);
}

TEST(KeyCaptureOnX, TheLiveLayoutShowsTheLettersOfTheUsersLayout) {
    REQUIRE_X_WITH("xdotool");
    if (!vantrel::test::installed("setxkbmap"))
        GTEST_SKIP() << "setxkbmap is not installed (scripts/deps.sh installs it)";
    ASSERT_TRUE(vantrel::test::runProgram(QStringLiteral("setxkbmap"), {QStringLiteral("fr")}));
    const std::unique_ptr<KeyboardLayout> layout = XkbKeyboardLayout::forApplication();
    ASSERT_TRUE(dynamic_cast<XkbKeyboardLayout*>(layout.get()));

    KeyCapture capture(*layout);
    Reports reports;
    collect(capture, reports);
    Target target;
    showAndWait(target);
    ASSERT_TRUE(capture.start(&target));
    // On a French keyboard Q is typed by the key in the physical A position.
    ASSERT_TRUE(xdotool({QStringLiteral("q")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports.size() >= 2; }, 5000));
    EXPECT_EQ(reports, (Reports{{'Q', 0}, {'Q', kRelease}}));

    // Recorded, it is the A position's key code, shown as the layout's letter.
    class NoHost final : public MacroRecorder::Host {
        bool startKeyCapture() override { return true; }
        void stopKeyCapture() override {}
        void recordingChanged(bool) override {}
        void eventsChanged(int) override {}
    } host;
    const SteadyClock clock;
    MacroRecord working{};
    MacroRecorder recorder(working, *layout, clock, host);
    recorder.startRecording();
    for (const auto& [vk, flags] : reports)
        recorder.recordKeyReport(vk, flags);
    ASSERT_EQ(working.eventCount, 2);
    EXPECT_EQ(working.events[0].keyCode, 4);
    EXPECT_EQ(KeyNames::keyName(KeyTable::virtualKeyFromKeyCode(4, *layout).value_or(0)), "Q");
}
