#pragma once
// SubViewer 2 files: twelve header lines, then per subtitle a time line
// (hh:mm:ss.cc,hh:mm:ss.cc), a text line with "[br]" between lines and an
// empty line.

#include "document/Result.h"
#include "document/SubtitleList.h"
#include "document/TimeText.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace korv {

// The longest line a subtitle file may have. Real subtitle lines are a few
// dozen characters; a longer line is a damaged or foreign file, and showing it
// in a line field would stall the editor.
constexpr qsizetype kMaxSubtitleLineLength = 10000;

Message lineTooLongMessage(int row, qsizetype length);

// Rows read from a file. When `error` is set, reading stopped there: `rows`
// holds what was read so far, including the row of the failing record.
struct ReadOutcome {
    std::vector<SubtitleEntry> rows;
    std::optional<Message> error;
    // What the read left out or will change on saving, though the file was
    // taken: each to be told once, after the rows are shown.
    std::vector<Message> notices;
    bool ok() const { return !error; }
};

// The first three lines of a subtitle's text ("|" separated); parts after the
// third are dropped.
struct SubtitleLines {
    QString line1, line2, line3;
};
SubtitleLines SplitSubtitleLines(const QString &text);

namespace subviewer {

// The twelve header lines the writer puts before the records.
QStringList headerLines();

// True for a line that has the shape of a time line, or begins "00:" (or
// "-00:", a time before the film's start that another program wrote).
bool isTimeLine(QStringView line);

ReadOutcome read(QStringView text, const NumberFormat &nf);

// The whole file as text, CR LF line ends; fails on the first time that is
// not a number or cannot be written as a clock time, naming its row.
// `rowOffsets`, when given, receives where each row's lines start in the text.
Result<QString> write(const SubtitleList &list, const NumberFormat &nf,
                      std::vector<qsizetype> *rowOffsets = nullptr);

} // namespace subviewer
} // namespace korv
