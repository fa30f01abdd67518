#pragma once
// The reading checks of every row, kept as the rows change: the list's
// column of reading speeds and its marks read from here. Only the rows a
// change touched are checked again (and the row before them, whose gap to
// the next start may have changed), so typing into one row of 100,000 costs
// one row's check.

#include "editing/ReadingCheck.h"

#include <QObject>

#include <functional>
#include <vector>

namespace korv {

class ReadingMarks : public QObject {
    Q_OBJECT
public:
    explicit ReadingMarks(SubtitleList &list, QObject *parent = nullptr);

    // The rules in force, asked at every check (the profile, the frame rate
    // and the precision may change between two).
    std::function<ReadingRules()> rules = [] { return ReadingRules{}; };

    // The rules changed: every row is checked again.
    void recheckAll();

    // The row's broken rules and reading speed as last checked; none for a
    // row outside the list.
    RuleSet broken(int row) const;
    std::optional<double> cps(int row) const;
    // Rows breaking at least one rule.
    int markedRows() const { return marked_; }

signals:
    // The marks of these rows may have changed.
    void changed(int firstRow, int lastRow);

private:
    // 20 bytes a row. A text is measured again only when the list says it
    // changed, so a change of times alone, such as a shift of every row,
    // measures no text again.
    struct Mark {
        TextMeasure measure;
        float cps = -1; // below 0: none
        RuleSet broken = 0;
        bool measured = false;
    };
    void recheck(int first, int last);

    SubtitleList &list_;
    std::vector<Mark> marks_;
    int marked_ = 0;
};

} // namespace korv
