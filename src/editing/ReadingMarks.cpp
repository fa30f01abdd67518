#include "editing/ReadingMarks.h"

#include <algorithm>

namespace korv {

ReadingMarks::ReadingMarks(SubtitleList &list, QObject *parent) : QObject(parent), list_(list)
{
    connect(&list_, &SubtitleList::resetDone, this, &ReadingMarks::recheckAll);
    connect(&list_, &SubtitleList::inserted, this, [this](int first, int last) {
        marks_.insert(marks_.begin() + first, std::size_t(last - first + 1), Mark{});
        recheck(first - 1, last);
    });
    connect(&list_, &SubtitleList::aboutToRemove, this, [this](int first, int last) {
        for (int i = first; i <= last; ++i)
            marked_ -= marks_[std::size_t(i)].broken ? 1 : 0;
        marks_.erase(marks_.begin() + first, marks_.begin() + last + 1);
    });
    // The row before now meets another next row.
    connect(&list_, &SubtitleList::removed, this, [this](int first) { recheck(first - 1, first - 1); });
    connect(&list_, &SubtitleList::textChanged, this, [this](int row) {
        if (row >= 0 && row < int(marks_.size()))
            marks_[std::size_t(row)].measured = false;
    });
    connect(&list_, &SubtitleList::contentChanged, this, [this](int first, int last) { recheck(first - 1, last); });
    recheckAll();
}

void ReadingMarks::recheckAll()
{
    marks_.clear();
    // Exactly the rows: a list read again after a longer one keeps no spare.
    marks_.shrink_to_fit();
    marks_.assign(std::size_t(list_.count()), Mark{});
    marked_ = 0;
    recheck(0, list_.count() - 1);
}

void ReadingMarks::recheck(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, list_.count() - 1);
    if (first > last || int(marks_.size()) != list_.count())
        return;
    const ReadingRules now = rules();
    const std::vector<SubtitleEntry> &rows = list_.rows();
    std::optional<qint64> start = timeTextMs(rows[std::size_t(first)].start, now.numbers);
    for (int i = first; i <= last; ++i) {
        const SubtitleEntry &entry = rows[std::size_t(i)];
        const std::optional<qint64> next =
            i + 1 < list_.count() ? timeTextMs(rows[std::size_t(i) + 1].start, now.numbers) : std::nullopt;
        Mark &mark = marks_[std::size_t(i)];
        if (!mark.measured) {
            mark.measure = summarize(measureShownText(entry.text));
            mark.measured = true;
        }
        std::optional<double> cps;
        const RuleSet broken = brokenRules(start, timeTextMs(entry.end, now.numbers), next, mark.measure, now, &cps);
        marked_ += (broken ? 1 : 0) - (mark.broken ? 1 : 0);
        mark.broken = broken;
        mark.cps = cps ? float(*cps) : -1.f;
        start = next;
    }
    emit changed(first, last);
}

RuleSet ReadingMarks::broken(int row) const
{
    return row >= 0 && row < int(marks_.size()) ? marks_[std::size_t(row)].broken : 0;
}

std::optional<double> ReadingMarks::cps(int row) const
{
    if (row < 0 || row >= int(marks_.size()) || marks_[std::size_t(row)].cps < 0)
        return std::nullopt;
    return double(marks_[std::size_t(row)].cps);
}

} // namespace korv
