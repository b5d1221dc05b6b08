#include "monitor/service/DesktopNotices.h"

#include "lighting/EffectTable.h"
#include "monitor/engine/LightingSteps.h"

#include <systemd/sd-bus.h>

namespace vantrel {

DesktopNotices::DesktopNotices(std::unique_ptr<BusConnection> connection, LanguageStrings strings)
    : m_connection(std::move(connection)), m_strings(std::move(strings)) {}

DesktopNotices::~DesktopNotices() {
    sd_bus_slot_unref(m_call);
}

std::unique_ptr<DesktopNotices> DesktopNotices::open(LanguageStrings strings, std::string& whyNot) {
    auto connection = BusConnection::open(BusConnection::Kind::Session, whyNot);
    if (!connection)
        return nullptr;
    return std::unique_ptr<DesktopNotices>(
        new DesktopNotices(std::move(connection), std::move(strings)));
}

void DesktopNotices::profile(int profile, const std::string& name) {
    const std::string number = "Profile " + std::to_string(profile + 1);
    show(name.empty() ? number : number + ": " + name);
}

void DesktopNotices::brightness(int32_t level) {
    show("Brightness " + std::to_string(level * 100 / LightingSteps::kBrightest) + " %");
}

void DesktopNotices::effect(int32_t effect) {
    const std::string name = m_strings.text(EffectTable::labelString(effect));
    show("Effect: " + (name.empty() ? std::to_string(effect) : name));
}

void DesktopNotices::show(std::string summary) {
    if (m_call) {
        m_waiting = std::move(summary);
        return;
    }
    // Transient: the desktop shows it and keeps no history of a year's key presses.
    const int status = sd_bus_call_method_async(
        m_connection->bus(), &m_call, "org.freedesktop.Notifications",
        "/org/freedesktop/Notifications", "org.freedesktop.Notifications", "Notify",
        &DesktopNotices::answered, this, "susssasa{sv}i", kAppName, m_shown, "input-keyboard",
        summary.c_str(), "", 0, 1, "transient", "b", 1, -1);
    if (status < 0)
        m_call = nullptr;
}

int DesktopNotices::answered(sd_bus_message* reply, void* self, sd_bus_error*) {
    auto& notices = *static_cast<DesktopNotices*>(self);
    notices.m_call = sd_bus_slot_unref(notices.m_call);
    uint32_t id = 0;
    if (!sd_bus_message_is_method_error(reply, nullptr) && sd_bus_message_read(reply, "u", &id) > 0)
        notices.m_shown = id;
    if (notices.m_waiting) {
        std::string next = std::move(*notices.m_waiting);
        notices.m_waiting.reset();
        notices.show(std::move(next));
    }
    return 0;
}

} // namespace vantrel
