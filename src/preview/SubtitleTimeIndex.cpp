#include "preview/SubtitleTimeIndex.h"

#include "document/TimeText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korv {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
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
        return {kNaN, kNaN}; // never matches, never starts after anything
    return {*start, *end};
}

void SubtitleTimeIndex::rereadAll()
{
    spans_.clear();
    // Exactly the rows: a list read again after a longer one keeps no spare.
    spans_.shrink_to_fit();
    spans_.reserve(std::size_t(list_.count()));
    for (int row = 0; row < list_.count(); ++row)
        spans_.push_back(read(row));
    treeStale_ = true;
}

void SubtitleTimeIndex::reread(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, int(spans_.size()) - 1);
    for (int row = first; row <= last; ++row)
        spans_[std::size_t(row)] = read(row);
    if (last - first >= kInPlaceRows) {
        treeStale_ = true;
    } else if (!treeStale_) {
        for (int block = first / kBlockRows; first <= last && block <= last / kBlockRows; ++block)
            setLeaf(block);
    }
}

SubtitleTimeIndex::Node SubtitleTimeIndex::blockNode(int block) const
{
    Node n{kInf, -kInf, -kInf};
    const std::size_t first = std::size_t(block) * kBlockRows;
    const std::size_t end = std::min(first + kBlockRows, spans_.size());
    for (std::size_t i = first; i < end; ++i) {
        const Span &s = spans_[i];
        if (std::isnan(s.start))
            continue;
        n.minStart = std::min(n.minStart, s.start);
        n.maxStart = std::max(n.maxStart, s.start);
        n.maxEnd = std::max(n.maxEnd, s.end);
    }
    return n;
}

void SubtitleTimeIndex::ensureTree()
{
    if (!treeStale_)
        return;
    const int blocks = int((spans_.size() + kBlockRows - 1) / kBlockRows);
    leaves_ = 1;
    while (leaves_ < blocks)
        leaves_ *= 2;
    tree_.assign(std::size_t(2 * leaves_), Node{kInf, -kInf, -kInf});
    tree_.shrink_to_fit();
    for (int block = 0; block < blocks; ++block)
        tree_[std::size_t(leaves_ + block)] = blockNode(block);
    for (int k = leaves_ - 1; k >= 1; --k) {
        const Node &a = tree_[std::size_t(2 * k)];
        const Node &b = tree_[std::size_t(2 * k + 1)];
        tree_[std::size_t(k)] = {std::min(a.minStart, b.minStart), std::max(a.maxStart, b.maxStart),
                                 std::max(a.maxEnd, b.maxEnd)};
    }
    treeStale_ = false;
}

void SubtitleTimeIndex::setLeaf(int block)
{
    std::size_t k = std::size_t(leaves_ + block);
    tree_[k] = blockNode(block);
    for (k /= 2; k >= 1; k /= 2) {
        const Node &a = tree_[2 * k];
        const Node &b = tree_[2 * k + 1];
        tree_[k] = {std::min(a.minStart, b.minStart), std::max(a.maxStart, b.maxStart), std::max(a.maxEnd, b.maxEnd)};
    }
}

int SubtitleTimeIndex::findCovering(int node, int lo, int hi, int from, double t)
{
    const Node &n = tree_[std::size_t(node)];
    if ((hi + 1) * kBlockRows <= from || n.minStart > t || n.maxEnd < t)
        return -1;
    if (lo == hi) {
        const int end = std::min((lo + 1) * kBlockRows, int(spans_.size()));
        for (int row = std::max(from, lo * kBlockRows); row < end; ++row) {
            ++examined_;
            const Span &s = spans_[std::size_t(row)];
            if (s.start <= t && t <= s.end)
                return row;
        }
        return -1;
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
        const int end = std::min((lo + 1) * kBlockRows, int(spans_.size()));
        for (int row = lo * kBlockRows; row < end; ++row) {
            ++examined_;
            if (spans_[std::size_t(row)].start >= t)
                return row;
        }
        return -1;
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
