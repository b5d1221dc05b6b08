#pragma once

#include "link/LinkHost.h"
#include "link/LinkProtocol.h"
#include "skin/FileRequest.h"
#include "skin/SkinnedDialog.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vantrel {

class AppContext;
class DeviceLink;
class KeyAssignmentPage;
class LightingPage;
class LinkSocketNotifier;
class SkinButton;
class SkinPage;

// The whole visible program: five profile tabs, the keyboard picture, the
// lighting page of the current effect, the effect menu, loading, saving and
// resetting profiles, and OK and Apply, which hand the settings to the monitor.
class MainWindow final : public SkinnedDialog, public LinkHost {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Vantrel Gaming Keyboard";
    static constexpr const char* kWebAddress = "https://www.vantrel-gaming.example/support";
    // Where the version text is drawn; repainted when the firmware changes.
    static constexpr QRect kVersionArea{640, 540, 250, 36};

    // Its controls by "BUTTONPOS" key of "skin_Config.ini".
    enum Key : int {
        MacroManagerKey = 1,
        ViewSwitchKey = 2,
        EffectKey = 3,
        NewProfileKey = 6,
        LoadProfileKey = 7,
        SaveProfileKey = 8,
        EditProfileKey = 9,
        FirstProfileKey = 10, // ..14, profiles 0..4
        MinimiseKey = 16,
        CloseKey = 17,
        ManualKey = 18,
        WebLinkKey = 19,
        OkKey = 20,
        ApplyKey = 21,
        CancelKey = 22,
        ResetAllKey = 25,
        ResetCurrentKey = 26,
    };

    // Builds the window from its skin, then starts the link and shows the
    // settings it found.
    MainWindow(AppContext& context, DeviceLink& link);
    ~MainWindow() override;

    void selectProfile(int n);
    void showEffectPage(int32_t effect);
    void setEffect(int32_t effect);

    // LinkHost
    void refreshAll() override;
    void setEnabledApply(bool on) override;
    void setBusy(bool on) override;
    void showMessage(const std::string& text) override;
    void firmwareVersionChanged() override;

    bool busy() const { return m_busy; }
    LinkProtocol& link() { return m_protocol; }
    KeyAssignmentPage& keyPage() const { return *m_keyPage; }
    LightingPage* visibleLightingPage() const { return m_visiblePage; }
    QString versionText() const;

protected:
    void paintContents(QPainter& painter) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    static const std::array<SkinControl<MainWindow>, 17> kControls;

    // Every page: the keyboard page and the lighting pages built so far.
    std::vector<SkinPage*> pages() const;
    // The page of the index, built on first use.
    LightingPage& lightingPage(int index);
    void showEffectName(int32_t effect);

    void openEffectMenu();
    void toggleView();
    void editProfileEmpty();
    void editProfileFilled();
    void loadProfile();
    void saveProfile();
    void resetAll();
    void resetCurrent();
    void openMacroManager();
    void openManual();
    void openWebLink();
    void minimise();
    void applyAndClose();
    void apply();
    void closeWithoutApplying();
    std::optional<QString> chooseProfileFile(FileRequest::Mode mode);

    AppContext& m_context;
    KeyAssignmentPage* m_keyPage = nullptr;
    std::array<LightingPage*, 18> m_pages{};
    QRect m_lightingArea;
    LightingPage* m_visiblePage = nullptr;
    bool m_busy = false;
    LinkProtocol m_protocol;
    LinkSocketNotifier* m_notifier = nullptr;
};

} // namespace vantrel
