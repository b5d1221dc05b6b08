#pragma once

#include "macro/Clock.h"
#include "macro/MacroRecorder.h"
#include "skin/SkinnedDialog.h"

#include <array>

namespace vantrel {

class AppContext;
class BitmapEdit;
class MacroListBox;

// Where macros are made, recorded, edited, imported and exported. It edits
// the store in place; the caller keeps or drops the result (manage()).
class MacroManagerDialog final : public SkinnedDialog, private MacroRecorder::Host {
    Q_OBJECT
public:
    // Its controls by "BUTTONPOS" key of "skin_macro_manager.ini".
    enum Key : int {
        OkKey = 1,
        CancelKey = 2,
        ExitKey = 3,
        NewKey = 4,
        DeleteKey = 5,
        MacroListKey = 6,
        RecordKey = 7,
        RecordDelaysKey = 8,
        RepeatKey = 9,
        RepeatCountKey = 10,
        EventListKey = 11,
        ImportKey = 12,
        ExportKey = 13,
    };
    // Menu item widths of the event list's context menu.
    static constexpr int kMenuWidth = 120;
    static constexpr int kMouseMenuWidth = 100;
    static constexpr int kButtonMenuWidth = 40;
    static constexpr int kCountLength = 3;

    MacroManagerDialog(AppContext& context, const Clock& clock, QWidget* owner);
    ~MacroManagerDialog() override;

    // Runs the manager over owner. On OK the store is saved and every macro
    // key of the profiles takes its macro as the store holds it now, and the
    // result is true (the caller redraws its keys); otherwise the store is
    // read back from its file.
    static bool manage(AppContext& context, QWidget* owner, const Clock& clock = SteadyClock());

    int currentIndex() const { return m_current; }
    bool recording() const { return m_recorder.recording(); }
    // The macro being edited, as the event list shows it.
    const MacroRecord& working() const { return m_working; }
    // What the dialog says where recording cannot take the keys of other
    // programs; empty where it can.
    const QString& captureNotice() const { return m_captureNotice; }

protected:
    void paintContents(QPainter& painter) override;

private:
    static const std::array<SkinControl<MacroManagerDialog>, 11> kControls;

    void confirm();
    void cancel();
    void newMacro();
    void deleteMacro();
    void recordOrStop();
    void recordDelaysToggled();
    void repeatToggled();
    void importMacro();
    void exportMacro();

    void macroSelected(int row);
    void rowCommitted(int row, int listId);
    void listRightClicked(int listId);
    void runCommand(int command);
    void insertMouseButton(int command, int row);
    void nameCommitted(int row);
    void pauseCommitted(int row);
    void countEdited();

    void loadCurrentMacro();
    void rebuildEvents(int keepInView);
    void writeBack();
    void storeRepeatCount();
    void clampCurrent();
    void warnNoMacro();
    void startRecording(int insertionIndex);

    bool startKeyCapture() override;
    void stopKeyCapture() override;
    void recordingChanged(bool recording) override;
    void eventsChanged(int keepInView) override;

    AppContext& m_context;
    MacroRecord m_working{};
    MacroRecorder m_recorder;
    MacroListBox* m_macroList = nullptr;
    MacroListBox* m_eventList = nullptr;
    BitmapEdit* m_countBox = nullptr;
    SkinPictures m_startPictures;
    SkinPictures m_stopPictures;
    QMetaObject::Connection m_reports;
    int m_current = -1;
    bool m_repeatEnabled = false;
    int m_countValue = 1;
    // The event whose pause the event list's editor is editing.
    int m_pauseEvent = -1;
    QString m_captureNotice;
};

} // namespace vantrel
