#pragma once
// Undo and redo: the document's history of changes.
//
// The list tells the history what each change replaced, as it happens. A
// command opens a HistoryStep for its whole run, and everything it changes
// becomes one step; typing into an edit field with no step open makes steps
// of its own, one per field and row, that grow while the user goes on typing
// there. A step keeps what changed, never a copy of the document: a time
// shift keeps its offset and only the cells the opposite shift would not give
// back exactly.
//
// The modified flag follows the history: the step the document was last
// opened or saved at is clean, and so is a new empty document; undoing the
// new document back to the file as it is on disk is clean again.

#include "document/SubtitleList.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>
#include <optional>

namespace korv {

class Language;
class Workspace;

// What a step did, which also names it in the menu.
enum class StepKind {
    Typing,
    AddRow,
    DeleteRow,
    RestoreRow,
    TimeShift,
    Check,
    NewDocument,
    CaptureStart,
    CaptureEnd,
    Lengthen,
    Shorten,
    ReadingFix,
    ReadingFixAll,
    SnapRows,
    FitToVoice,
    // A box dragged on the waveform strip: its start, its end, or the whole row.
    DragStart,
    DragEnd,
    DragRow,
};

// How a time shift moves time texts, given to its step so that the step can
// leave out every cell the way back restores exactly.
struct TimeTransform {
    // A time text moved one way (`forward`) or back; nothing when it reads as
    // no time.
    std::function<std::optional<QString>(const QString &text, bool forward)> move;
    // Whether moving `after` back gives `before`.
    std::function<bool(const QString &before, const QString &after)> givesBack;

    explicit operator bool() const { return move && givesBack; }
};

class DocumentHistory : public QObject, private ChangeObserver {
    Q_OBJECT
public:
    // Steps kept before the oldest is dropped.
    static constexpr int kStepLimit = 1000;
    // Typing after a pause longer than this starts a new step.
    static constexpr qint64 kTypingPauseMs = 2000;

    explicit DocumentHistory(Workspace &ws);
    ~DocumentHistory() override;
    DocumentHistory(const DocumentHistory &) = delete;
    DocumentHistory &operator=(const DocumentHistory &) = delete;

    bool canUndo() const { return enabled() && stack_.canUndo(); }
    bool canRedo() const { return enabled() && stack_.canRedo(); }
    // The kind of step an undo or redo would take back or do again.
    std::optional<StepKind> undoKind() const;
    std::optional<StepKind> redoKind() const;
    int count() const { return stack_.count(); }
    // A Pause lives: the rows in the list are not the user's document's own.
    bool paused() const { return pauseDepth_ > 0; }

    void undo();
    void redo();

    // A new history. `clean`: the document now in the list is what is on
    // disk (else there is no clean state until a save: a read that stopped
    // halfway).
    void startNew(bool clean = true);
    // The document was just saved: this is the clean state now.
    void markSaved();
    // A new, empty document: nothing to save, though the file last opened or
    // saved stays clean too for an undo back to it.
    void markEmpty();

    // Milliseconds of a steady clock, for the typing pause; tests set their own.
    void setClock(std::function<qint64()> clock) { clock_ = std::move(clock); }

    // While a Pause lives, changes are not recorded and undo and redo are off
    // (the help tour's sample rows, the split's parts, a file being read).
    class Pause {
    public:
        explicit Pause(DocumentHistory &history);
        ~Pause();
        Pause(const Pause &) = delete;
        Pause &operator=(const Pause &) = delete;

    private:
        DocumentHistory &history_;
    };

signals:
    // What undo and redo would do changed.
    void changed();

private:
    friend class HistoryStep;
    class RecordedStep;

    bool enabled() const { return pauseDepth_ == 0; }
    bool atCleanState() const;
    // Keeps the state on disk's index where it was before a push.
    void afterPush(int indexBefore);
    void begin(StepKind kind, TimeTransform transform);
    void end();
    void commit();
    void afterIndexChange();
    RecordedStep &openStep();
    template <typename Record>
    void note(Record record);

    void cellChanged(int row, int column, const QString &before, const QString &after) override;
    void rowInserted(int position, const SubtitleEntry &entry) override;
    void rowRemoved(int position, const SubtitleEntry &entry) override;
    void rowsReplaced(std::vector<SubtitleEntry> &before, int selectedBefore) override;

    Workspace &ws_;
    QUndoStack stack_;
    std::function<qint64()> clock_;
    // The step being recorded by an open HistoryStep, or by typing.
    RecordedStep *recording_ = nullptr;
    int stepDepth_ = 0;
    int pauseDepth_ = 0;
    // Counts the selection's moves: typing after one starts a new step.
    int selectionMoves_ = 0;
    // Undo or redo is putting changes back: they are not new steps.
    bool replaying_ = false;
    // The index at which the list holds what is on disk (opened or saved),
    // or -1; the stack's own clean index may be a new empty document's.
    int diskIndex_ = -1;
    // A push is under way; the step pushed was merged into the last.
    bool pushing_ = false;
    bool merged_ = false;
};

// The undo or redo menu item's caption in the current language: "GERİ AL",
// or with the step it would take back or do again, "GERİ AL: SATIR SİL".
QString undoCaption(const Language &language, const DocumentHistory &history);
QString redoCaption(const Language &language, const DocumentHistory &history);

// Everything changed while this lives is one step of `kind`; steps opened
// inside it join it (key 6 capturing an end and adding a row).
class HistoryStep {
public:
    HistoryStep(Workspace &ws, StepKind kind, TimeTransform transform = {});
    ~HistoryStep();
    HistoryStep(const HistoryStep &) = delete;
    HistoryStep &operator=(const HistoryStep &) = delete;

private:
    DocumentHistory &history_;
};

} // namespace korv
