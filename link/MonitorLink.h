#pragma once

#include "link/DeviceLink.h"
#include "link/RobustMutex.h"
#include "link/SharedBlockMapping.h"

#include <optional>
#include <string>

namespace vantrel {

// The link through the files in the runtime folder. Without a runtime folder
// every object counts as absent.
class MonitorLink final : public DeviceLink {
public:
    explicit MonitorLink(std::optional<std::string> runtimeDir);

    OpenResult openLink() override;
    bool readBlock(SharedBlock& target) override;
    bool readBlockAtStartUp(SharedBlock& target) override;
    bool writeBlock(const SharedBlock& source) override;
    bool notifyMonitor(uint32_t code) override;
    void closeLink() override;

private:
    std::optional<std::string> m_dir;
    RobustMutex m_mutex;
    SharedBlockMapping m_mapping;
};

} // namespace vantrel
