#include "monitor/engine/DryRunPrinter.h"

#include <libevdev/libevdev.h>

namespace vantrel {

namespace {

const char* valueName(int32_t value) {
    switch (value) {
    case 0:
        return "up";
    case 1:
        return "down";
    default:
        return "repeat";
    }
}

const char* codeName(uint16_t type, uint16_t code) {
    const char* name = libevdev_event_code_get_name(type, code);
    return name ? name : "?";
}

} // namespace

void DryRunPrinter::heard(uint16_t code, int32_t value) {
    std::fprintf(m_out, "%s %s\n", codeName(EV_KEY, code), valueName(value));
    std::fflush(m_out);
}

void DryRunPrinter::send(uint16_t type, uint16_t code, int32_t value) {
    if (type == EV_KEY)
        std::fprintf(m_out, "  sends %s %s\n", codeName(type, code), valueName(value));
    else if (type == EV_REL && code == REL_WHEEL)
        std::fprintf(m_out, "  sends wheel %s\n", value > 0 ? "up" : "down");
    std::fflush(m_out);
}

void DryRunPrinter::launch(const std::string& path) {
    std::fprintf(m_out, "  launches \"%s\"\n", path.c_str());
}

void DryRunPrinter::switchProfile(int profile) {
    std::fprintf(m_out, "  switches to profile %d\n", profile + 1);
}

void DryRunPrinter::stepBrightness(int delta) {
    std::fprintf(m_out, "  makes the lighting %s\n", delta > 0 ? "brighter" : "darker");
}

void DryRunPrinter::nextEffect() {
    std::fprintf(m_out, "  goes to the next lighting effect\n");
}

} // namespace vantrel
