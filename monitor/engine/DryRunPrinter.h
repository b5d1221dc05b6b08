#pragma once

#include "monitor/engine/OutputDevice.h"
#include "monitor/engine/RemapEngine.h"

#include <cstdio>

namespace vantrel {

// Stands in for the output device and the actions in a dry run: it prints
// what the engine would send and do, one line each, and does nothing.
class DryRunPrinter final : public OutputDevice, public RemapEngine::Actions {
public:
    explicit DryRunPrinter(std::FILE* out) : m_out(out) {}

    void send(uint16_t type, uint16_t code, int32_t value) override;
    void sync() override {}
    void launch(const std::string& path) override;
    void switchProfile(int profile) override;
    void stepBrightness(int delta) override;
    void nextEffect() override;
    // The physical key event the lines after it answer.
    void heard(uint16_t code, int32_t value) override;

private:
    std::FILE* m_out;
};

} // namespace vantrel
