#pragma once

#include "settings/ProfileRecord.h"
#include "skin/SkinnedDialog.h"

class QLineEdit;

namespace vantrel {

class AppContext;
class SkinButton;

// Names a profile and ties a game program to it. Only OK changes the profile,
// and only its ProFileName and GameFile; nothing is applied.
class ProfileDialog final : public SkinnedDialog {
    Q_OBJECT
public:
    enum class Fill { FromProfile = 0, Empty = 1 };
    static constexpr int kNameLength = 20;

    ProfileDialog(AppContext& context, ProfileRecord& profile, Fill fill, QWidget* owner);

    // Runs the dialog over owner; the profile changes only on OK.
    static void open(AppContext& context, ProfileRecord& profile, Fill fill, QWidget* owner);

private:
    QLineEdit* makeTextBox(int key);
    void browse();
    void confirm();

    AppContext& m_context;
    ProfileRecord& m_profile;
    QLineEdit* m_name;
    QLineEdit* m_game;
};

} // namespace vantrel
