#include "commands/DocumentHistory.h"

#include "commands/Workspace.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

#include <QUndoCommand>

#include <algorithm>
#include <array>
#include <chrono>
#include <limits>
#include <variant>

namespace korv {

namespace {

struct CellChange {
    int row;
    int column;
    QString before;
    QString after;
};

struct RowChange {
    int position;
    SubtitleEntry entry;
    bool inserted;
};

// Every row replaced at once: the rows not in the list now (those before
// the step while it is done, those after it while it is undone).
struct Replacement {
    std::vector<SubtitleEntry> rows;
};

// A run of time cells, numbered row * 2 + (0 for the start, 1 for the end),
// that the step's transform moved forward and moves back exactly: nothing
// but their range is kept.
struct TransformedCells {
    int first;
    int last;
};

using Change = std::variant<CellChange, RowChange, Replacement, TransformedCells>;

int timeCell(int row, int column)
{
    return row * 2 + (column - ColStart);
}

qint64 steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

struct SideState {
    int selected = -1;
    std::array<QString, 4> restoreBuffer;
    bool restoreEnabled = false;
};

} // namespace

class DocumentHistory::RecordedStep : public QUndoCommand {
public:
    RecordedStep(DocumentHistory &history, StepKind kind, TimeTransform transform)
        : history_(history), kind_(kind), transform_(std::move(transform))
    {
        before_ = sideState();
    }

    StepKind kind() const { return kind_; }
    bool isEmpty() const { return changes_.empty(); }

    void setTyping(int field, int row, qint64 at, int session)
    {
        typingField_ = field;
        typingRow_ = row;
        typedAt_ = at;
        session_ = session;
    }

    void finish() { after_ = sideState(); }
    void setSelectedBefore(int row) { before_.selected = row; }

    void recordCell(int row, int column, const QString &before, const QString &after)
    {
        const bool timeColumn = column == ColStart || column == ColEnd;
        if (transform_ && timeColumn && transform_.givesBack(before, after)) {
            const int cell = timeCell(row, column);
            if (auto *run = changes_.empty() ? nullptr : std::get_if<TransformedCells>(&changes_.back());
                run && run->last + 1 == cell) {
                run->last = cell;
                return;
            }
            changes_.emplace_back(TransformedCells{cell, cell});
            return;
        }
        // A cell written twice in a row (a capture tidying what it wrote)
        // keeps its first before.
        if (auto *last = changes_.empty() ? nullptr : std::get_if<CellChange>(&changes_.back());
            last && last->row == row && last->column == column) {
            last->after = after;
            return;
        }
        changes_.emplace_back(CellChange{row, column, before, after});
    }

    void recordRow(int position, const SubtitleEntry &entry, bool inserted)
    {
        changes_.emplace_back(RowChange{position, entry, inserted});
    }

    void recordReplacement(std::vector<SubtitleEntry> &before)
    {
        changes_.emplace_back(Replacement{std::move(before)});
    }

    int id() const override { return typingField_ >= 0 ? 1 : -1; }

    bool mergeWith(const QUndoCommand *command) override
    {
        const auto *next = static_cast<const RecordedStep *>(command);
        if (next->typingField_ != typingField_ || next->typingRow_ != typingRow_ || next->session_ != session_
            || next->typedAt_ - typedAt_ > kTypingPauseMs || changes_.size() != 1 || next->changes_.size() != 1)
            return false;
        auto *mine = std::get_if<CellChange>(&changes_.front());
        const auto *theirs = std::get_if<CellChange>(&next->changes_.front());
        if (!mine || !theirs || mine->row != theirs->row || mine->column != theirs->column)
            return false;
        mine->after = theirs->after;
        history_.merged_ = true;
        typedAt_ = next->typedAt_;
        after_ = next->after_;
        // Typed and taken back again: nothing is left to undo.
        setObsolete(mine->before == mine->after);
        return true;
    }

    void undo() override { replay(false); }

    void redo() override
    {
        // Pushed after its changes were made: the first redo has nothing to do.
        if (std::exchange(pending_, false))
            return;
        replay(true);
    }

private:
    SideState sideState() const
    {
        const Workspace &ws = history_.ws_;
        return {ws.list.selected(), ws.deletedRowBuffer, ws.restoreEnabled()};
    }

    void replay(bool forward)
    {
        Workspace &ws = history_.ws_;
        SubtitleList &list = ws.list;
        const bool wasReplaying = std::exchange(history_.replaying_, true);
        {
            SubtitleList::BulkChange bulk(list);
            if (forward) {
                for (Change &change : changes_)
                    apply(change, true);
            } else {
                for (auto it = changes_.rbegin(); it != changes_.rend(); ++it)
                    apply(*it, false);
            }
            list.renumber();
        }
        const SideState &state = forward ? after_ : before_;
        ws.deletedRowBuffer = state.restoreBuffer;
        ws.setRestoreEnabled(state.restoreEnabled);
        // A step over many rows shows the first it changed; any other the row
        // it was made on (or the row it left chosen).
        const bool manyRows = kind_ == StepKind::TimeShift || kind_ == StepKind::Check || kind_ == StepKind::ReadingFixAll
            || kind_ == StepKind::SnapRows || kind_ == StepKind::FitToVoice;
        const int row = std::clamp(manyRows ? firstChangedRow() : state.selected, 0, std::max(0, list.count() - 1));
        list.select(row);
        history_.replaying_ = wasReplaying;
    }

    void apply(Change &change, bool forward)
    {
        SubtitleList &list = history_.ws_.list;
        if (auto *cell = std::get_if<CellChange>(&change)) {
            list.setCell(cell->row, cell->column, forward ? cell->after : cell->before);
        } else if (auto *row = std::get_if<RowChange>(&change)) {
            if (row->inserted == forward)
                list.insertRow(row->position, row->entry);
            else
                list.removeRow(row->position);
        } else if (auto *replacement = std::get_if<Replacement>(&change)) {
            replacement->rows = list.replaceAll(std::move(replacement->rows));
        } else if (auto *run = std::get_if<TransformedCells>(&change)) {
            for (int cell = run->first; cell <= run->last; ++cell) {
                const int r = cell / 2;
                const int column = ColStart + cell % 2;
                if (const auto text = transform_.move(list.cell(r, column), forward))
                    list.setCell(r, column, *text);
            }
        }
    }

    int firstChangedRow() const
    {
        int first = std::numeric_limits<int>::max();
        for (const Change &change : changes_) {
            if (const auto *cell = std::get_if<CellChange>(&change))
                first = std::min(first, cell->row);
            else if (const auto *row = std::get_if<RowChange>(&change))
                first = std::min(first, row->position);
            else if (const auto *run = std::get_if<TransformedCells>(&change))
                first = std::min(first, run->first / 2);
            else
                first = 0;
        }
        return first;
    }

    DocumentHistory &history_;
    StepKind kind_;
    TimeTransform transform_;
    std::vector<Change> changes_;
    SideState before_;
    SideState after_;
    bool pending_ = true;
    // Typing: the field, the row, when the last key was typed, and the
    // selection's count of moves then; -1 for no typing.
    int typingField_ = -1;
    int typingRow_ = -1;
    qint64 typedAt_ = 0;
    int session_ = 0;
};

DocumentHistory::DocumentHistory(Workspace &ws) : ws_(ws), clock_(steadyMilliseconds)
{
    stack_.setUndoLimit(kStepLimit);
    ws_.list.setObserver(this);
    connect(&stack_, &QUndoStack::indexChanged, this, &DocumentHistory::afterIndexChange);
    // Choosing another row ends a run of typing, even when the user comes back.
    connect(&ws_.list, &SubtitleList::selectionChanged, this, [this] { ++selectionMoves_; });
}

DocumentHistory::~DocumentHistory()
{
    ws_.list.setObserver(nullptr);
}

std::optional<StepKind> DocumentHistory::undoKind() const
{
    if (!canUndo())
        return std::nullopt;
    return static_cast<const RecordedStep *>(stack_.command(stack_.index() - 1))->kind();
}

std::optional<StepKind> DocumentHistory::redoKind() const
{
    if (!canRedo())
        return std::nullopt;
    return static_cast<const RecordedStep *>(stack_.command(stack_.index()))->kind();
}

void DocumentHistory::undo()
{
    if (canUndo() && stepDepth_ == 0)
        stack_.undo();
}

void DocumentHistory::redo()
{
    if (canRedo() && stepDepth_ == 0)
        stack_.redo();
}

void DocumentHistory::startNew(bool clean)
{
    stack_.clear();
    if (!clean)
        stack_.resetClean();
    diskIndex_ = clean ? 0 : -1;
    ws_.list.setModified(!clean);
    emit changed();
}

void DocumentHistory::markSaved()
{
    ws_.list.setModified(false);
    if (enabled()) {
        stack_.setClean();
        diskIndex_ = stack_.index();
    }
    emit changed();
}

void DocumentHistory::markEmpty()
{
    ws_.list.setModified(false);
    if (enabled())
        stack_.setClean();
    emit changed();
}

bool DocumentHistory::atCleanState() const
{
    return stack_.isClean() || stack_.index() == diskIndex_;
}

void DocumentHistory::afterIndexChange()
{
    // A push tells once it knows where the state on disk went.
    if (pushing_)
        return;
    if (enabled())
        ws_.list.setModified(!atCleanState());
    emit changed();
}

void DocumentHistory::afterPush(int indexBefore)
{
    if (diskIndex_ < 0 || merged_)
        return;
    // Steps that could be redone were dropped with the state they led to.
    if (diskIndex_ > indexBefore) {
        diskIndex_ = -1;
        return;
    }
    // The oldest steps past the limit went, and the states before them.
    diskIndex_ -= indexBefore + 1 - stack_.index();
    if (diskIndex_ < 0)
        diskIndex_ = -1;
}

void DocumentHistory::begin(StepKind kind, TimeTransform transform)
{
    if (stepDepth_++ == 0 && enabled() && !replaying_)
        recording_ = new RecordedStep(*this, kind, std::move(transform));
}

void DocumentHistory::end()
{
    if (--stepDepth_ == 0)
        commit();
}

void DocumentHistory::commit()
{
    if (!recording_)
        return;
    RecordedStep *step = std::exchange(recording_, nullptr);
    if (step->isEmpty()) {
        delete step;
        return;
    }
    step->finish();
    const int indexBefore = stack_.index();
    merged_ = false;
    pushing_ = true;
    stack_.push(step);
    pushing_ = false;
    afterPush(indexBefore);
    afterIndexChange();
}

DocumentHistory::RecordedStep &DocumentHistory::openStep()
{
    if (recording_)
        return *recording_;
    // A change with no step open: typing into a field, or a change no command
    // claimed.
    recording_ = new RecordedStep(*this, StepKind::Typing, {});
    const int field = ws_.fields.writingField();
    if (field >= 0)
        recording_->setTyping(field, ws_.list.selected(), clock_(), selectionMoves_);
    return *recording_;
}

template <typename Record>
void DocumentHistory::note(Record record)
{
    if (!enabled() || replaying_)
        return;
    // With no step open the change is a step of its own, pushed at once.
    const bool own = stepDepth_ == 0;
    record(openStep(), own);
    if (own)
        commit();
}

void DocumentHistory::cellChanged(int row, int column, const QString &before, const QString &after)
{
    note([&](RecordedStep &step, bool) { step.recordCell(row, column, before, after); });
}

void DocumentHistory::rowInserted(int position, const SubtitleEntry &entry)
{
    note([&](RecordedStep &step, bool) { step.recordRow(position, entry, true); });
}

void DocumentHistory::rowRemoved(int position, const SubtitleEntry &entry)
{
    note([&](RecordedStep &step, bool) { step.recordRow(position, entry, false); });
}

void DocumentHistory::rowsReplaced(std::vector<SubtitleEntry> &before, int selectedBefore)
{
    note([&](RecordedStep &step, bool own) {
        if (own)
            step.setSelectedBefore(selectedBefore);
        step.recordReplacement(before);
    });
}

DocumentHistory::Pause::Pause(DocumentHistory &history) : history_(history)
{
    if (history_.pauseDepth_++ == 0)
        emit history_.changed();
}

DocumentHistory::Pause::~Pause()
{
    if (--history_.pauseDepth_ == 0)
        emit history_.changed();
}

namespace {

QString stepName(const Language &language, StepKind kind)
{
    switch (kind) {
    case StepKind::Typing: return language.LangText(msg::StepTyping);
    case StepKind::AddRow: return language.LangText(msg::StepAddRow);
    case StepKind::DeleteRow: return language.LangText(msg::StepDeleteRow);
    case StepKind::RestoreRow: return language.LangText(msg::StepRestoreRow);
    case StepKind::TimeShift: return language.LangText(msg::StepTimeShift);
    case StepKind::Check: return language.LangText(msg::StepCheck);
    case StepKind::NewDocument: return language.LangText(msg::StepNewDocument);
    case StepKind::CaptureStart: return language.LangText(msg::StepCaptureStart);
    case StepKind::CaptureEnd: return language.LangText(msg::StepCaptureEnd);
    case StepKind::Lengthen: return language.LangText(msg::StepLengthen);
    case StepKind::Shorten: return language.LangText(msg::StepShorten);
    case StepKind::ReadingFix: return language.LangText(msg::StepReadingFix);
    case StepKind::ReadingFixAll: return language.LangText(msg::StepReadingFixAll);
    case StepKind::SnapRows: return language.LangText(msg::StepSnapRows);
    case StepKind::FitToVoice: return language.LangText(msg::StepFitToVoice);
    case StepKind::DragStart: return language.LangText(msg::StepDragStart);
    case StepKind::DragEnd: return language.LangText(msg::StepDragEnd);
    case StepKind::DragRow: return language.LangText(msg::StepDragRow);
    }
    return QString();
}

QString caption(const Language &language, const QString &key, std::optional<StepKind> kind)
{
    const QString item = language.LangText(key);
    return kind ? item + QStringLiteral(": ") + stepName(language, *kind) : item;
}

} // namespace

QString undoCaption(const Language &language, const DocumentHistory &history)
{
    return caption(language, msg::Undo, history.undoKind());
}

QString redoCaption(const Language &language, const DocumentHistory &history)
{
    return caption(language, msg::Redo, history.redoKind());
}

HistoryStep::HistoryStep(Workspace &ws, StepKind kind, TimeTransform transform) : history_(ws.history)
{
    history_.begin(kind, std::move(transform));
}

HistoryStep::~HistoryStep()
{
    history_.end();
}

} // namespace korv
