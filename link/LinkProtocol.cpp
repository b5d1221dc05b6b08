#include "link/LinkProtocol.h"

#include "link/ChangeFlags.h"
#include "link/LinkHost.h"
#include "link/LinkNames.h"
#include "macro/MacroStore.h"
#include "settings/IniFile.h"
#include "settings/RecordSafety.h"

#include <cstring>
#include <thread>

namespace vantrel {

LinkProtocol::LinkProtocol(DeviceLink& link, LinkHost& host, Settings settings,
                           std::optional<std::string> runtimeDir)
    : m_link(link), m_host(host), m_settings(std::move(settings)),
      m_runtimeDir(std::move(runtimeDir)), m_files(m_settings.configFolder) {}

void LinkProtocol::startUp() {
    // The mailbox first, so that nothing the monitor posts from now on is lost.
    if (m_runtimeDir)
        m_socket.bind(*m_runtimeDir + kProgramSocketName);

    SharedBlock& applied = m_settings.applied;
    applied.CurrentProfile = -1;
    std::memset(applied.profiles, 0, sizeof applied.profiles);
    ChangeFlags::clearChangeFlags(applied);
    applied.spare1 = 0;

    m_firmwareText =
        vantrel::firmwareVersionText(m_files.readFirmwareVersion(), FirmwareReading::StartUp);

    const DeviceLink::OpenResult opened = m_link.openLink();
    if (opened == DeviceLink::OpenResult::CannotMap)
        m_host.showMessage(kCannotMapText);
    m_open = opened == DeviceLink::OpenResult::Open;

    // A block that cannot be read (its mutex held too long) would leave empty
    // profiles that the next apply writes everywhere: take the files instead.
    // A lock whose owner died is tried again first, since the files lack the
    // monitor's own changes and the next apply would push them over the block.
    if (m_open && m_link.readBlockAtStartUp(applied)) {
        RecordSafety::makeSafe(applied);
        ChangeFlags::clearChangeFlags(applied);
    } else {
        m_files.readWorkingSet(applied, m_settings.strings);
    }

    m_settings.macros.loadMacroStore();
    m_files.readOsdSettings(m_osd);

    m_settings.edited = applied;
    m_settings.macros.mergeProfileMacros(m_settings.edited);
    m_settings.macros.saveMacroStore();
    m_host.refreshAll();
}

void LinkProtocol::apply(uint32_t code) {
    m_host.setBusy(true);
    m_host.setEnabledApply(false);

    SharedBlock& edited = m_settings.edited;
    if (m_open)
        m_link.writeBlock(edited);
    m_files.writeOsdSettings(m_osd);
    const bool monitorFound = m_link.notifyMonitor(code);
    {
        // The store is saved beside the working files, so that its flush
        // overlaps theirs; neither depends on the other.
        const std::jthread store(
            [this] { m_settings.macros.saveMacroStore(IniFile::FolderSync::ByCaller); });
        m_files.writeWorkingSet(edited, m_clock(), IniFile::FolderSync::ByCaller);
    }
    ChangeFlags::clearChangeFlags(edited);
    m_settings.applied = edited;
    // The renames of the files and the store made durable with one flush of
    // each folder.
    IniFile::syncFolderOf(m_files.configPath());
    // config/: the five profiles and the macro store.
    IniFile::syncFolderOf(m_files.profilePath(0));

    if (!monitorFound) {
        m_host.setEnabledApply(true);
        m_host.setBusy(false);
    }
}

void LinkProtocol::takeOverBlock() {
    SharedBlock& applied = m_settings.applied;
    m_link.readBlock(applied);
    RecordSafety::makeSafe(applied);
    ChangeFlags::clearChangeFlags(applied);
    m_settings.edited = applied;
    m_host.refreshAll();
}

void LinkProtocol::handleMessage(uint32_t message) {
    switch (message) {
    case kMsgFirmwareChanged:
        m_firmwareText = vantrel::firmwareVersionText(m_files.readFirmwareVersion(),
                                                      FirmwareReading::Notification);
        m_host.firmwareVersionChanged();
        takeOverBlock();
        m_settings.macros.mergeProfileMacros(m_settings.edited);
        m_settings.macros.saveMacroStore();
        break;
    case kMsgBlockChanged:
        takeOverBlock();
        break;
    case kMsgApplyFinished:
        m_host.setEnabledApply(true);
        m_host.setBusy(false);
        break;
    case kMsgDeviceChanged: {
        SharedBlock& applied = m_settings.applied;
        SharedBlock& edited = m_settings.edited;
        m_link.readBlock(applied);
        RecordSafety::makeSafe(applied);
        const int p = applied.CurrentProfile;
        edited.CurrentProfile = p;
        edited.profiles[p].LtControl = applied.profiles[p].LtControl;
        edited.profiles[p].PollingRate = applied.profiles[p].PollingRate;
        edited.profiles[p].ReportDelay = applied.profiles[p].ReportDelay;
        edited.profiles[p].LtFlag = applied.profiles[p].LtFlag;
        edited.profiles[p].LtSwitch = applied.profiles[p].LtSwitch;
        m_host.refreshAll();
        break;
    }
    default: // 1258 and anything else: nothing to do
        break;
    }
}

void LinkProtocol::receivePending() {
    while (const std::optional<LinkMessage> message = m_socket.receive())
        handleMessage(message->message);
}

void LinkProtocol::closeLink() {
    m_link.closeLink();
    m_socket.close();
}

} // namespace vantrel
