#pragma once
// The start and end times of every row, read once and kept in step with the
// list, so that the overlay and the list following find a row without reading
// the whole list on every tick.
//
// Both searches give exactly what a walk over the rows in order gives: rows
// whose start or end cell does not read as a number never match. A tree of
// minimum start, maximum start and maximum end over blocks of 16 rows lets a
// search pass over every stretch of rows that cannot match; on a list in time
// order it looks at a block or two whatever the list's length. (A tree over
// single rows took 48 bytes a row more than the times themselves.)

#include "document/SubtitleList.h"
#include "document/TimeText.h"

#include <QObject>

#include <vector>

namespace korv {

class SubtitleTimeIndex : public QObject {
    Q_OBJECT
public:
    SubtitleTimeIndex(const SubtitleList &list, const NumberFormat &nf, QObject *parent = nullptr);

    // The first row at or after `from` (0-based) with start <= t <= end; -1 if none.
    int firstCovering(int from, double t);
    // The first row whose start >= t; -1 if none.
    int firstStartingAtOrAfter(double t);

    // How many rows the last search compared (for the benchmarks).
    int rowsExamined() const { return examined_; }

    static constexpr int kBlockRows = 16;

private:
    // A row whose times do not read holds NaN in both: no comparison holds.
    struct Span {
        double start;
        double end;
    };
    struct Node {
        double minStart;
        double maxStart;
        double maxEnd;
    };

    Span read(int row) const;
    void rereadAll();
    void reread(int first, int last);
    void ensureTree();
    // The leaf of block `block` from its rows' spans.
    Node blockNode(int block) const;
    void setLeaf(int block);
    int findCovering(int node, int lo, int hi, int from, double t);
    int findStarting(int node, int lo, int hi, double t);

    const SubtitleList &list_;
    const NumberFormat &nf_;
    std::vector<Span> spans_;
    std::vector<Node> tree_;
    int leaves_ = 0;
    bool treeStale_ = true;
    int examined_ = 0;
};

} // namespace korv
