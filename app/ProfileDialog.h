#pragma once

#include "settings/ProfileRecord.h"
#include "skin/SkinnedDialog.h"

#include <array>

namespace vantrel {

class AppContext;
class BitmapEdit;

// Names a profile and ties a game program to it. Only OK changes the profile,
// and only its ProFileName and GameFile; nothing is applied.
class ProfileDialog final : public SkinnedDialog {
    Q_OBJECT
public:
    enum class Fill { FromProfile = 0, Empty = 1 };
    static constexpr int kNameLength = 20;

    // Its controls by "BUTTONPOS" key of "skin_profile.ini".
    enum Key : int {
        NameKey = 1,
        GameKey = 2,
        BrowseKey = 3,
        OkKey = 4,
        CancelKey = 5,
        CloseKey = 6
    };

    ProfileDialog(AppContext& context, ProfileRecord& profile, Fill fill, QWidget* owner);

    // Runs the dialog over owner; the profile changes only on OK.
    static void open(AppContext& context, ProfileRecord& profile, Fill fill, QWidget* owner);

private:
    static const std::array<SkinControl<ProfileDialog>, 6> kControls;

    void browse();
    void confirm();
    void cancel();

    AppContext& m_context;
    ProfileRecord& m_profile;
    BitmapEdit* m_name = nullptr;
    BitmapEdit* m_game = nullptr;
};

} // namespace vantrel
