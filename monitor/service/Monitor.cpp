#include "monitor/service/Monitor.h"

#include "link/ChangeFlags.h"
#include "link/LinkNames.h"
#include "monitor/engine/LightingSteps.h"
#include "settings/LanguageStrings.h"
#include "settings/TextField.h"
#include "settings/WorkingSet.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

namespace vantrel {

Monitor::Monitor(std::string runtimeDir, std::string programFolder, std::string configFolder)
    : m_dir(std::move(runtimeDir)), m_programFolder(std::move(programFolder)),
      m_configFolder(std::move(configFolder)) {}

Monitor::~Monitor() {
    withdraw();
}

bool Monitor::publish() {
    const std::string lockPath = m_dir + kMonitorSocketName + ".lock";
    m_lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_lockFd < 0 || ::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
        if (m_lockFd >= 0)
            ::close(m_lockFd);
        m_lockFd = -1;
        return false;
    }

    auto initial = std::make_unique<SharedBlock>();
    WorkingSet(m_configFolder)
        .readWorkingSet(*initial, LanguageStrings(m_programFolder + "lan.ini"));
    ChangeFlags::clearChangeFlags(*initial);

    // The mutex before the block: whoever finds the block finds its mutex too.
    if (!m_mutex.create(m_dir + kMutexFileName) ||
        !m_block.create(m_dir + kBlockFileName, *initial) ||
        !m_socket.bind(m_dir + kMonitorSocketName)) {
        withdraw();
        return false;
    }
    if (!m_status.listen(m_dir))
        noteProblem("the status socket could not be made");
    takeProfile();
    return true;
}

void Monitor::withdraw() {
    if (m_lockFd < 0)
        return;
    m_status.close();
    m_keys.reset();
    m_output.reset();
    m_lighting.reset();
    m_sleep.reset();
    m_notices.reset();
    m_socket.close();
    if (m_block.mapped())
        ::unlink((m_dir + kBlockFileName).c_str());
    m_block.close();
    if (m_mutex.isOpen())
        ::unlink((m_dir + kMutexFileName).c_str());
    m_mutex.close();
    ::close(m_lockFd);
    m_lockFd = -1;
}

bool Monitor::changeBlock(const std::function<void(SharedBlock&)>& change) {
    if (m_mutex.lockOnceMoreIfOwnerDied() != RobustMutex::LockResult::Locked)
        return false;
    change(*m_block.block());
    m_mutex.unlock();
    return true;
}

void Monitor::postToProgram(uint32_t message) {
    MessageSocket::post(m_dir + kProgramSocketName, {message, 0, 0});
}

void Monitor::attachKeyboard(std::unique_ptr<KeyboardSource> source,
                             std::unique_ptr<OutputDevice> output) {
    m_output = std::move(output);
    RemapEngine::Actions& actions = *this;
    m_keys = std::make_unique<KeyDriver>(std::move(source), *m_output, actions);
    takeProfile();
}

void Monitor::takeProfile() {
    auto profile = std::make_unique<ProfileRecord>();
    std::array<std::string, kProfileCount> games;
    int current = 0;
    if (!changeBlock([&](SharedBlock& b) {
            current = std::clamp(b.CurrentProfile, 0, kProfileCount - 1);
            *profile = b.profiles[current];
            for (int p = 0; p < kProfileCount; ++p)
                games[p] = fieldText(b.profiles[p].GameFile);
        }))
        return;
    if (m_keys)
        m_keys->engine().setProfile(*profile);
    if (m_lighting)
        m_lighting->setProfile(*profile);
    m_follower.setGames(games);
    if (current != m_currentProfile && m_currentProfile >= 0)
        m_follower.manualSwitch(current);
    m_currentProfile = current;
}

void Monitor::followGames(std::unique_ptr<WindowSource> windows, std::string source) {
    m_windowSource = std::move(source);
    m_windows = std::move(windows);
    takeProfile();
    // What the source learnt while it opened (the window active now, a
    // desktop's first report) would wait for its next event otherwise.
    if (const auto window = m_windows->readChanges())
        activeWindowChanged(*window);
}

void Monitor::showLighting(std::unique_ptr<KeyboardLighting> lighting) {
    m_lighting = std::move(lighting);
    takeProfile();
}

bool Monitor::watchSleep(std::string& whyNot) {
    m_sleep = SleepWatcher::open([this](bool sleeping) { sleepChanged(sleeping); }, whyNot);
    return m_sleep != nullptr;
}

void Monitor::sleepChanged(bool sleeping) {
    // The keyboards stay grabbed: one that comes back anew is taken again as plugged in.
    if (sleeping && m_keys)
        m_keys->releaseAll();
    else if (!sleeping && m_lighting)
        m_lighting->resumed(Clock::now());
}

void Monitor::showNotices(std::unique_ptr<DesktopNotices> notices) {
    m_notices = std::move(notices);
}

void Monitor::activeWindowChanged(const ActiveWindow& window) {
    const auto profile = m_follower.activeWindowChanged(window, m_currentProfile);
    m_lastGame = !window.exe.empty()       ? window.exe
                 : !window.classes.empty() ? "class " + window.classes.front()
                                           : std::string("no window");
    if (profile) {
        m_lastGame += ", profile " + std::to_string(*profile + 1);
        switchProfile(*profile);
    }
}

std::string Monitor::statusText() {
    std::string name;
    int current = 0;
    changeBlock([&](SharedBlock& b) {
        current = std::clamp(b.CurrentProfile, 0, kProfileCount - 1);
        name = fieldText(b.profiles[current].ProFileName);
    });
    std::string text = "monitor: running, process " + std::to_string(::getpid()) + ", version " +
                       VANTREL_VERSION + "\n";
    text += "profile: " + std::to_string(current + 1) + " \"" + name + "\"\n";
    if (!m_keys) {
        text += "keyboards: not held\n";
    } else {
        const std::vector<std::string> keyboards = m_keys->describeKeyboards();
        text += keyboards.empty() ? "keyboards: none found yet\n" : "keyboards:\n";
        for (const std::string& k : keyboards)
            text += "  " + k + "\n";
    }
    text += "lighting: " + (m_lighting ? m_lighting->client().describe() : "off") + "\n";
    text += "games: " +
            (m_windows ? m_windowSource + "; last: " + (m_lastGame.empty() ? "none" : m_lastGame)
                       : std::string("not followed")) +
            "\n";
    for (const std::string& problem : m_problems)
        text += "problem: " + problem + "\n";
    return text;
}

void Monitor::handle(const LinkMessage& message) {
    if (message.message != kMsgApplied)
        return;
    takeProfile();
    m_answers.push_back(Clock::now() + m_answerDelay);
}

void Monitor::launch(const std::string& path) {
    std::string whyNot;
    if (m_launcher.launch(path, whyNot) < 0)
        std::fprintf(stderr, "vantrel-monitor: did not launch \"%s\": %s\n", path.c_str(),
                     whyNot.c_str());
}

// The engine asks for this in the middle of a key press; taking the new
// profile there is safe because the press does nothing after it.
void Monitor::switchProfile(int profile) {
    std::string name;
    if (changeBlock([&](SharedBlock& b) {
            b.CurrentProfile = profile;
            name = fieldText(b.profiles[std::clamp(profile, 0, kProfileCount - 1)].ProFileName);
        })) {
        postToProgram(kMsgDeviceChanged);
        takeProfile();
        if (m_notices)
            m_notices->profile(profile, name);
    }
}

std::unique_ptr<ProfileRecord>
Monitor::changeLighting(const std::function<void(ProfileRecord&)>& change) {
    auto profile = std::make_unique<ProfileRecord>();
    if (!changeBlock([&](SharedBlock& b) {
            ProfileRecord& current = b.profiles[std::clamp(b.CurrentProfile, 0, kProfileCount - 1)];
            change(current);
            *profile = current;
        }))
        return nullptr;
    // "Changed at the device": an open program reads the whole block again,
    // so that its next apply keeps what the key did.
    postToProgram(kMsgBlockChanged);
    if (m_lighting)
        m_lighting->setProfile(*profile);
    return profile;
}

void Monitor::stepBrightness(int delta) {
    const auto profile =
        changeLighting([&](ProfileRecord& p) { LightingSteps::stepBrightness(p, delta); });
    if (profile && m_notices)
        m_notices->brightness(LightingSteps::brightness(*profile));
}

void Monitor::nextEffect() {
    const auto profile = changeLighting([](ProfileRecord& p) { LightingSteps::nextEffect(p); });
    if (profile && m_notices)
        m_notices->effect(profile->LtSwitch);
}

void Monitor::heard(uint16_t code, int32_t value) {
    if (m_lighting && value == 1)
        m_lighting->keyPressed(RemapEngine::position(code), Clock::now());
}

void Monitor::sendDueAnswers() {
    while (!m_answers.empty() && m_answers.front() <= Clock::now()) {
        postToProgram(kMsgApplyFinished);
        m_answers.pop_front();
    }
}

std::vector<BusConnection*> Monitor::buses() const {
    std::vector<BusConnection*> buses;
    if (m_sleep)
        buses.push_back(&m_sleep->connection());
    if (m_notices)
        buses.push_back(&m_notices->connection());
    return buses;
}

void Monitor::run(int stopFd) {
    std::vector<pollfd> fds;
    for (;;) {
        sendDueAnswers();
        m_launcher.reap();
        if (m_lighting)
            m_lighting->update(Clock::now());
        int timeout = -1;
        if (!m_answers.empty()) {
            const auto wait =
                std::chrono::ceil<std::chrono::milliseconds>(m_answers.front() - Clock::now());
            timeout = static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, wait.count()));
        }
        fds.assign({{stopFd, POLLIN, 0}, {m_socket.fd(), POLLIN, 0}, {m_status.fd(), POLLIN, 0}});
        const bool watching = m_windows && m_windows->fd() >= 0;
        if (watching)
            fds.push_back({m_windows->fd(), POLLIN, 0});
        const std::vector<BusConnection*> connections = buses();
        const size_t firstBusFd = fds.size();
        for (BusConnection* bus : connections)
            bus->addFds(fds);
        const size_t firstLightingFd = fds.size();
        if (m_lighting)
            m_lighting->addFds(fds);
        const size_t firstKeyFd = fds.size();
        if (m_keys)
            m_keys->addFds(fds);
        if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR)
            break;
        if (fds[0].revents)
            break;
        // Keys first: a key is what a person waits for.
        for (size_t i = firstKeyFd; i < fds.size(); ++i) {
            if (fds[i].revents)
                m_keys->handle(fds[i].fd);
        }
        while (const auto message = m_socket.receive())
            handle(*message);
        if (fds[2].revents)
            m_status.serve([this] { return statusText(); });
        if (watching && fds[3].revents) {
            if (const auto window = m_windows->readChanges())
                activeWindowChanged(*window);
        }
        for (BusConnection* bus : connections) {
            if (std::any_of(fds.begin() + firstBusFd, fds.begin() + firstLightingFd,
                            [&](const pollfd& p) { return p.revents && bus->owns(p.fd); }))
                bus->process();
        }
        for (size_t i = firstLightingFd; i < firstKeyFd; ++i) {
            if (fds[i].revents)
                m_lighting->handle(fds[i], Clock::now());
        }
    }
    if (m_keys)
        m_keys->releaseAll();
}

} // namespace vantrel
