#include "link/MonitorLink.h"

#include "link/LinkMessage.h"
#include "link/LinkNames.h"
#include "link/MessageSocket.h"

namespace vantrel {

MonitorLink::MonitorLink(std::optional<std::string> runtimeDir) : m_dir(std::move(runtimeDir)) {}

DeviceLink::OpenResult MonitorLink::openLink() {
    if (!m_dir)
        return OpenResult::Absent;
    m_mutex.open(*m_dir + kMutexFileName); // may stay closed: every wait then fails
    switch (m_mapping.open(*m_dir + kBlockFileName)) {
    case SharedBlockMapping::OpenResult::Mapped:
        return OpenResult::Open;
    case SharedBlockMapping::OpenResult::CannotMap:
        return OpenResult::CannotMap;
    case SharedBlockMapping::OpenResult::Absent:
        break;
    }
    return OpenResult::Absent;
}

bool MonitorLink::readBlock(SharedBlock& target) {
    if (!m_mapping.mapped() || m_mutex.lock() != RobustMutex::LockResult::Locked)
        return false;
    target = *m_mapping.block();
    m_mutex.unlock();
    return true;
}

bool MonitorLink::readBlockAtStartUp(SharedBlock& target) {
    if (!m_mapping.mapped())
        return false;
    if (m_mutex.lockOnceMoreIfOwnerDied() != RobustMutex::LockResult::Locked)
        return false;
    target = *m_mapping.block();
    m_mutex.unlock();
    return true;
}

bool MonitorLink::writeBlock(const SharedBlock& source) {
    if (!m_mapping.mapped() || m_mutex.lock() != RobustMutex::LockResult::Locked)
        return false;
    *m_mapping.block() = source;
    m_mutex.unlock();
    return true;
}

bool MonitorLink::notifyMonitor(uint32_t code) {
    return m_dir && MessageSocket::post(*m_dir + kMonitorSocketName, {kMsgApplied, code, 0});
}

void MonitorLink::closeLink() {
    m_mapping.close();
    m_mutex.close();
}

} // namespace vantrel
