#include "preview/SubtitleTimeIndex.h"

#include "document/TimeText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korv {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// Edits of up to this many rows update the tree in place; more rebuild it.
constexpr int kInPlaceRows = 64;

} // namespace

SubtitleTimeIndex::SubtitleTimeIndex(const SubtitleList &list, const NumberFormat &nf, QObject *parent)
    : QObject(parent), list_(list), nf_(nf)
{
    rereadAll();
    connect(&list_, &SubtitleList::resetDone, this, &SubtitleTimeIndex::rereadAll);
    connect(&list_, &SubtitleList::inserted, this, [this](int first, int last) {
        std::vector<Span> added;
        for (int row = first; row <= last; ++row)
            added.push_back(read(row));
        spans_.insert(spans_.begin() + first, added.begin(), added.end());
        treeStale_ = true;
    });
    connect(&list_, &SubtitleList::removed, this, [this](int first, int last) {
        spans_.erase(spans_.begin() + first, spans_.begin() + last + 1);
        treeStale_ = true;
    });
    connect(&list_, &SubtitleList::cellsChanged, this, &SubtitleTimeIndex::reread);
}

SubtitleTimeIndex::Span SubtitleTimeIndex::read(int row) const
{
    const SubtitleEntry &entry = list_.row(row);
    const auto start = TextToSeconds(entry.start, nf_);
    const auto end = TextToSeconds(entry.end, nf_);
    if (!start || !end)
        return {kInf, -kInf, false}; // never matches, never starts after anything
    return {*start, *end, true};
}

void SubtitleTimeIndex::rereadAll()
{
    spans_.clear();
    spans_.reserve(std::size_t(list_.count()));
    for (int row = 0; row < list_.count(); ++row)
        spans_.push_back(read(row));
    treeStale_ = true;
}

void SubtitleTimeIndex::reread(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, int(spans_.size()) - 1);
    for (int row = first; row <= last; ++row) {
        spans_[std::size_t(row)] = read(row);
        if (!treeStale_ && last - first < kInPlaceRows)
            setLeaf(row);
    }
    if (last - first >= kInPlaceRows)
        treeStale_ = true;
}

void SubtitleTimeIndex::ensureTree()
{
    if (!treeStale_)
        return;
    leaves_ = 1;
    while (leaves_ < int(spans_.size()))
        leaves_ *= 2;
    tree_.assign(std::size_t(2 * leaves_), Node{kInf, -kInf, -kInf});
    for (std::size_t i = 0; i < spans_.size(); ++i) {
        const Span &s = spans_[i];
        tree_[std::size_t(leaves_) + i] = {s.start, s.valid ? s.start : -kInf, s.end};
    }
    for (int k = leaves_ - 1; k >= 1; --k) {
        const Node &a = tree_[std::size_t(2 * k)];
        const Node &b = tree_[std::size_t(2 * k + 1)];
        tree_[std::size_t(k)] = {std::min(a.minStart, b.minStart), std::max(a.maxStart, b.maxStart),
                                 std::max(a.maxEnd, b.maxEnd)};
    }
    treeStale_ = false;
}

void SubtitleTimeIndex::setLeaf(int row)
{
    const Span &s = spans_[std::size_t(row)];
    std::size_t k = std::size_t(leaves_ + row);
    tree_[k] = {s.start, s.valid ? s.start : -kInf, s.end};
    for (k /= 2; k >= 1; k /= 2) {
        const Node &a = tree_[2 * k];
        const Node &b = tree_[2 * k + 1];
        tree_[k] = {std::min(a.minStart, b.minStart), std::max(a.maxStart, b.maxStart), std::max(a.maxEnd, b.maxEnd)};
    }
}

int SubtitleTimeIndex::findCovering(int node, int lo, int hi, int from, double t)
{
    const Node &n = tree_[std::size_t(node)];
    if (hi < from || n.minStart > t || n.maxEnd < t)
        return -1;
    if (lo == hi) {
        ++examined_;
        return lo;
    }
    const int mid = lo + (hi - lo) / 2;
    const int left = findCovering(2 * node, lo, mid, from, t);
    return left >= 0 ? left : findCovering(2 * node + 1, mid + 1, hi, from, t);
}

int SubtitleTimeIndex::findStarting(int node, int lo, int hi, double t)
{
    if (tree_[std::size_t(node)].maxStart < t)
        return -1;
    if (lo == hi) {
        ++examined_;
        return lo;
    }
    const int mid = lo + (hi - lo) / 2;
    const int left = findStarting(2 * node, lo, mid, t);
    return left >= 0 ? left : findStarting(2 * node + 1, mid + 1, hi, t);
}

int SubtitleTimeIndex::firstCovering(int from, double t)
{
    examined_ = 0;
    from = std::max(from, 0);
    if (from >= int(spans_.size()) || std::isnan(t))
        return -1;
    ensureTree();
    return findCovering(1, 0, leaves_ - 1, from, t);
}

int SubtitleTimeIndex::firstStartingAtOrAfter(double t)
{
    examined_ = 0;
    if (spans_.empty() || std::isnan(t))
        return -1;
    ensureTree();
    return findStarting(1, 0, leaves_ - 1, t);
}

} // namespace korv
