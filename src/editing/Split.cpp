#include "editing/Split.h"

#include "document/TimeText.h"

namespace korv {

namespace {

struct Cut {
    double point = 0;
    // First row of the document that starts after the point: the first file
    // is the rows before it.
    std::size_t firstAfter = 0;
    // First row that ends at or after the point: the second file starts there
    // (a subtitle spanning the point is in both files).
    std::size_t secondStart = 0;
};

// Where the document is cut, or nothing when the point does not lie inside
// it. Every time reads as a number here: the overlap check has passed.
std::optional<Cut> findCut(const std::vector<SubtitleEntry> &rows, const QString &pointText, const NumberFormat &nf)
{
    const auto point = TextToSeconds(pointText, nf);
    if (!point || rows.empty())
        return std::nullopt;
    auto startOf = [&](std::size_t i) { return TextToSeconds(rows[i].start, nf).value_or(0); };
    auto endOf = [&](std::size_t i) { return TextToSeconds(rows[i].end, nf).value_or(0); };
    if (!(*point > startOf(0) && *point < startOf(rows.size() - 1)))
        return std::nullopt;
    Cut cut;
    cut.point = *point;
    while (startOf(cut.firstAfter) <= *point)
        ++cut.firstAfter;
    while (cut.secondStart < rows.size() && endOf(cut.secondStart) < *point)
        ++cut.secondStart;
    if (cut.secondStart == rows.size())
        return std::nullopt; // every subtitle ends before the point
    return cut;
}

std::vector<SubtitleEntry> firstPart(const std::vector<SubtitleEntry> &rows, const Cut &cut,
                                     const QString &pointText)
{
    std::vector<SubtitleEntry> part(rows.begin(), rows.begin() + std::ptrdiff_t(cut.firstAfter));
    // The last subtitle ends exactly at the point, cut back or stretched.
    part.back().end = pointText;
    return part;
}

std::vector<SubtitleEntry> secondPart(const std::vector<SubtitleEntry> &rows, const Cut &cut, const NumberFormat &nf)
{
    std::vector<SubtitleEntry> part(rows.begin() + std::ptrdiff_t(cut.secondStart), rows.end());
    for (SubtitleEntry &row : part) {
        row.start = FormatSeconds(TextToSeconds(row.start, nf).value_or(0) - cut.point, nf);
        row.end = FormatSeconds(TextToSeconds(row.end, nf).value_or(0) - cut.point, nf);
    }
    // A subtitle spanning the point starts the second file at 0.
    if (TextToSeconds(part.front().start, nf).value_or(0) < 0)
        part.front().start = QStringLiteral("0");
    return part;
}

} // namespace

std::optional<SplitParts> splitAt(const std::vector<SubtitleEntry> &rows, const QString &pointText,
                                  const NumberFormat &nf)
{
    const std::optional<Cut> cut = findCut(rows, pointText, nf);
    if (!cut)
        return std::nullopt;
    return SplitParts{firstPart(rows, *cut, pointText), secondPart(rows, *cut, nf)};
}

} // namespace korv
