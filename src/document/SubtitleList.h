#pragma once
// The open subtitle document: rows of four texts in file order.
//
// Column 0 is the row number as last set by renumber(), 1 the start time
// text, 2 the end time text, 3 the subtitle text with "|" between lines.
// Times stay texts: a command that needs a value reads the text each time.
// The list also keeps the selected row (the subtitle the edit panel shows)
// and whether anything changed since it was opened, saved or started.
//
// Views and the edit panel follow the change signals. Commands that touch
// every row wrap their work in a BulkChange so that a view hears one signal,
// not one per cell. One observer may also hear what each change replaced
// (the document's history keeps it for undo); row numbers are left out, as
// renumber() derives them from the positions.

#include <QObject>
#include <QString>

#include <vector>

namespace korv {

enum Column { ColNumber = 0, ColStart = 1, ColEnd = 2, ColText = 3 };

struct SubtitleEntry {
    QString number = QStringLiteral("0");
    QString start;
    QString end;
    QString text;

    const QString &cell(int column) const;
    QString &cell(int column);
    bool operator==(const SubtitleEntry &) const = default;
};

// Told of each change after it is made, with what it replaced.
class ChangeObserver {
public:
    virtual ~ChangeObserver() = default;
    virtual void cellChanged(int row, int column, const QString &before, const QString &after) = 0;
    virtual void rowInserted(int position, const SubtitleEntry &entry) = 0;
    virtual void rowRemoved(int position, const SubtitleEntry &entry) = 0;
    // Every row was replaced: the observer may take `before` (moving it
    // out); what it leaves goes back to whoever replaced the rows.
    virtual void rowsReplaced(std::vector<SubtitleEntry> &before, int selectedBefore) = 0;
};

class SubtitleList : public QObject {
    Q_OBJECT
public:
    explicit SubtitleList(QObject *parent = nullptr);

    int count() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    bool isValidRow(int row) const { return row >= 0 && row < count(); }
    const SubtitleEntry &row(int row) const { return rows_[std::size_t(row)]; }
    const QString &cell(int row, int column) const { return rows_[std::size_t(row)].cell(column); }
    const std::vector<SubtitleEntry> &rows() const { return rows_; }

    // Changes one cell; ignored for a row outside the list.
    void setCell(int row, int column, const QString &text);

    // Inserts at 0..count(); a position outside that range is refused (false).
    bool insertRow(int position, const SubtitleEntry &entry = {});
    int appendRow(const SubtitleEntry &entry = {});
    bool removeRow(int position);
    void clear();
    // Replaces every row at once (a file read, a rebuild after a split) and
    // selects the first; gives back the rows it replaced unless the observer
    // took them.
    std::vector<SubtitleEntry> replaceAll(std::vector<SubtitleEntry> rows);

    // Column 0 of every row := its 1-based position.
    void renumber();

    // The selected row, -1 when the list is empty or nothing is chosen.
    int selected() const { return selected_; }
    // Selects a row (and asks the views to scroll to it). Announced even when
    // the index stays the same, since the row there may be another one now.
    void select(int row);

    // At most one; null for none. Not told of changes to column 0.
    void setObserver(ChangeObserver *observer) { observer_ = observer; }

    bool isModified() const { return modified_; }
    void setModified(bool modified);

    // Groups many cell changes into one cellsChanged signal.
    class BulkChange {
    public:
        explicit BulkChange(SubtitleList &list);
        ~BulkChange();
        BulkChange(const BulkChange &) = delete;
        BulkChange &operator=(const BulkChange &) = delete;

    private:
        SubtitleList &list_;
    };

signals:
    void aboutToReset();
    void resetDone();
    void aboutToInsert(int first, int last);
    void inserted(int first, int last);
    void aboutToRemove(int first, int last);
    void removed(int first, int last);
    void cellsChanged(int firstRow, int lastRow);
    // A start, end or text changed (cellsChanged also tells of row numbers,
    // which a renumbering changes down to the last row).
    void contentChanged(int firstRow, int lastRow);
    // A row's text changed: told at once, in a BulkChange too (so the row is
    // the row it was then), before any contentChanged covering it. What
    // measures texts need not measure them again after a change of times.
    void textChanged(int row);
    void selectionChanged(int row);

private:
    void markModified();
    void noteCellChange(int row, bool content);

    std::vector<SubtitleEntry> rows_;
    ChangeObserver *observer_ = nullptr;
    int selected_ = -1;
    bool modified_ = false;
    int bulkDepth_ = 0;
    int bulkFirst_ = -1;
    int bulkLast_ = -1;
    int bulkContentFirst_ = -1;
    int bulkContentLast_ = -1;
};

} // namespace korv
