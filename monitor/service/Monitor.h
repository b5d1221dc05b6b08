#pragma once

#include "link/MessageSocket.h"
#include "link/RobustMutex.h"
#include "link/SharedBlockMapping.h"
#include "monitor/devices/KeyDriver.h"
#include "monitor/engine/RemapEngine.h"
#include "monitor/games/GameFollower.h"
#include "monitor/games/WindowSource.h"
#include "monitor/lighting/KeyboardLighting.h"
#include "monitor/service/DesktopNotices.h"
#include "monitor/service/ProgramLauncher.h"
#include "monitor/service/SleepWatcher.h"
#include "monitor/service/StatusSocket.h"

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vantrel {

// The resident monitor: owns the shared block, its mutex and the monitor's
// mailbox, answers every apply with "apply finished", and, given a keyboard,
// makes the current profile's key functions real; given the lighting, shows
// the current profile's effect on the RGB keyboards.
class Monitor final : private RemapEngine::Actions {
public:
    using Clock = std::chrono::steady_clock;

    // The texts come from the program folder, the working profiles from the
    // config folder.
    Monitor(std::string runtimeDir, std::string programFolder, std::string configFolder);
    ~Monitor() override;
    Monitor(const Monitor&) = delete;
    Monitor& operator=(const Monitor&) = delete;

    // Creates the mutex, the block (from the working profile files, or factory
    // values) and the mailbox. False when another monitor runs or an object
    // cannot be made.
    bool publish();
    // Drives the keyboards through the output device with the current
    // profile, which it takes again after every apply. After publish.
    void attachKeyboard(std::unique_ptr<KeyboardSource> source,
                        std::unique_ptr<OutputDevice> output);
    // Switches to the profile whose game has the focus, and back; source
    // names where the windows come from, for the status. After publish.
    void followGames(std::unique_ptr<WindowSource> windows, std::string source);
    // Shows the current profile's lighting, and the held keyboards' presses. After publish.
    void showLighting(std::unique_ptr<KeyboardLighting> lighting);
    // A problem the monitor met that the status should name (no access to
    // the devices, no display to follow games on).
    void noteProblem(std::string text) { m_problems.push_back(std::move(text)); }
    // What "vantrel-monitor status" prints.
    std::string statusText();
    // Lets go of every key before the machine sleeps, and shows the lights
    // again after it. False, with whyNot, without a system bus.
    bool watchSleep(std::string& whyNot);
    // Tells the desktop of the profile and lighting changes it makes by itself.
    void showNotices(std::unique_ptr<DesktopNotices> notices);
    // Serves messages and keys until stopFd becomes readable; then lets go of
    // every key it holds.
    void run(int stopFd);
    // Removes every object again.
    void withdraw();

    // Programs that keys launch start through this command (see ProgramLauncher).
    void launchThrough(std::vector<std::string> starter) {
        m_launcher.setStarter(std::move(starter));
    }
    // How long the answer to an apply waits; 0 answers at once.
    void setAnswerDelay(std::chrono::milliseconds delay) { m_answerDelay = delay; }

private:
    void handle(const LinkMessage& message);
    void sendDueAnswers();
    // Runs the change on the block under its mutex; false when the mutex could not be had.
    bool changeBlock(const std::function<void(SharedBlock&)>& change);
    // Changes the current profile's lighting in the block, tells the program
    // and shows the change; the changed profile, none when the block could not be had.
    std::unique_ptr<ProfileRecord>
    changeLighting(const std::function<void(ProfileRecord&)>& change);
    // The engine and the game follower take the current profile and the
    // games from the block.
    void takeProfile();
    void activeWindowChanged(const ActiveWindow& window);
    void postToProgram(uint32_t message);
    void sleepChanged(bool sleeping);
    std::vector<BusConnection*> buses() const;

    void launch(const std::string& path) override;
    void switchProfile(int profile) override;
    void stepBrightness(int delta) override;
    void nextEffect() override;
    void heard(uint16_t code, int32_t value) override;

    std::string m_dir;
    std::string m_programFolder;
    std::string m_configFolder;
    int m_lockFd = -1;
    RobustMutex m_mutex;
    SharedBlockMapping m_block;
    MessageSocket m_socket;
    std::chrono::milliseconds m_answerDelay{0};
    std::deque<Clock::time_point> m_answers;
    std::unique_ptr<OutputDevice> m_output;
    std::unique_ptr<KeyDriver> m_keys;
    ProgramLauncher m_launcher;
    std::unique_ptr<WindowSource> m_windows;
    GameFollower m_follower;
    std::unique_ptr<KeyboardLighting> m_lighting;
    std::unique_ptr<SleepWatcher> m_sleep;
    std::unique_ptr<DesktopNotices> m_notices;
    int m_currentProfile = -1;
    StatusSocket m_status;
    std::vector<std::string> m_problems;
    std::string m_windowSource;
    std::string m_lastGame; // the last program the game follower was shown
};

} // namespace vantrel
