#include "document/SubtitleList.h"

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <utility>

namespace korv {

namespace {

// The texts of row numbers, the same in every document: written once into
// blocks that never move and shared by every row that shows them, where a
// 100,000-row document would otherwise hold 100,000 strings of its own.
class RowNumberTexts {
public:
    QString text(int number)
    {
        if (number < 1)
            return QString::number(number);
        const std::size_t block = std::size_t(number - 1) / kPerBlock;
        const std::lock_guard lock(mutex_);
        while (blocks_.size() <= block)
            blocks_.push_back(makeBlock(int(blocks_.size() * kPerBlock) + 1));
        const Block &b = *blocks_[block];
        const std::size_t k = std::size_t(number - 1) % kPerBlock;
        return QString::fromRawData(reinterpret_cast<const QChar *>(b.chars.get() + b.offsets[k]),
                                    b.offsets[k + 1] - b.offsets[k]);
    }

private:
    static constexpr std::size_t kPerBlock = 4096;
    struct Block {
        std::unique_ptr<char16_t[]> chars;
        std::array<qsizetype, kPerBlock + 1> offsets{};
    };

    static std::unique_ptr<Block> makeBlock(int first)
    {
        auto b = std::make_unique<Block>();
        QString all;
        for (std::size_t k = 0; k < kPerBlock; ++k) {
            b->offsets[k] = all.size();
            all += QString::number(first + qint64(k));
        }
        b->offsets[kPerBlock] = all.size();
        b->chars = std::make_unique<char16_t[]>(std::size_t(all.size()));
        std::copy(all.utf16(), all.utf16() + all.size(), b->chars.get());
        return b;
    }

    std::mutex mutex_;
    std::vector<std::unique_ptr<Block>> blocks_;
};

QString rowNumberText(int number)
{
    static RowNumberTexts texts;
    return texts.text(number);
}

} // namespace

const QString &SubtitleEntry::cell(int column) const
{
    switch (column) {
    case ColNumber: return number;
    case ColStart: return start;
    case ColEnd: return end;
    default: return text;
    }
}

QString &SubtitleEntry::cell(int column)
{
    switch (column) {
    case ColNumber: return number;
    case ColStart: return start;
    case ColEnd: return end;
    default: return text;
    }
}

SubtitleList::SubtitleList(QObject *parent) : QObject(parent) {}

void SubtitleList::setCell(int row, int column, const QString &text)
{
    if (!isValidRow(row) || column < 0 || column > ColText)
        return;
    QString &cell = rows_[std::size_t(row)].cell(column);
    if (cell == text)
        return;
    QString before = std::exchange(cell, text);
    if (column == ColText)
        emit textChanged(row);
    if (column != ColNumber) {
        markModified();
        if (observer_)
            observer_->cellChanged(row, column, before, cell);
    }
    noteCellChange(row, column != ColNumber);
}

bool SubtitleList::insertRow(int position, const SubtitleEntry &entry)
{
    if (position < 0 || position > count())
        return false;
    emit aboutToInsert(position, position);
    rows_.insert(rows_.begin() + position, entry);
    if (selected_ >= position)
        ++selected_;
    markModified();
    if (observer_)
        observer_->rowInserted(position, entry);
    emit inserted(position, position);
    return true;
}

int SubtitleList::appendRow(const SubtitleEntry &entry)
{
    insertRow(count(), entry);
    return count() - 1;
}

bool SubtitleList::removeRow(int position)
{
    if (!isValidRow(position))
        return false;
    emit aboutToRemove(position, position);
    SubtitleEntry entry = std::move(rows_[std::size_t(position)]);
    rows_.erase(rows_.begin() + position);
    const bool wasSelected = selected_ == position;
    if (selected_ > position || (wasSelected && selected_ >= count()))
        --selected_;
    markModified();
    if (observer_)
        observer_->rowRemoved(position, entry);
    emit removed(position, position);
    // The row that took the removed one's place is now the selected one.
    if (wasSelected)
        emit selectionChanged(selected_);
    return true;
}

void SubtitleList::clear()
{
    replaceAll({});
}

std::vector<SubtitleEntry> SubtitleList::replaceAll(std::vector<SubtitleEntry> rows)
{
    emit aboutToReset();
    std::swap(rows_, rows);
    const int selectedBefore = std::exchange(selected_, rows_.empty() ? -1 : 0);
    markModified();
    if (observer_)
        observer_->rowsReplaced(rows, selectedBefore);
    emit resetDone();
    emit selectionChanged(selected_);
    return rows;
}

void SubtitleList::renumber()
{
    BulkChange bulk(*this);
    for (int i = 0; i < count(); ++i) {
        QString number = rowNumberText(i + 1);
        QString &cell = rows_[std::size_t(i)].number;
        if (cell != number) {
            cell = std::move(number);
            noteCellChange(i, false);
        }
    }
}

void SubtitleList::select(int row)
{
    if (!isValidRow(row))
        return;
    selected_ = row;
    emit selectionChanged(row);
}

void SubtitleList::setModified(bool modified)
{
    modified_ = modified;
}

void SubtitleList::markModified()
{
    setModified(true);
}

void SubtitleList::noteCellChange(int row, bool content)
{
    if (bulkDepth_ > 0) {
        bulkFirst_ = bulkFirst_ < 0 ? row : std::min(bulkFirst_, row);
        bulkLast_ = std::max(bulkLast_, row);
        if (content) {
            bulkContentFirst_ = bulkContentFirst_ < 0 ? row : std::min(bulkContentFirst_, row);
            bulkContentLast_ = std::max(bulkContentLast_, row);
        }
        return;
    }
    emit cellsChanged(row, row);
    if (content)
        emit contentChanged(row, row);
}

SubtitleList::BulkChange::BulkChange(SubtitleList &list) : list_(list)
{
    ++list_.bulkDepth_;
}

SubtitleList::BulkChange::~BulkChange()
{
    if (--list_.bulkDepth_ == 0 && list_.bulkFirst_ >= 0) {
        const int first = list_.bulkFirst_;
        const int last = std::min(list_.bulkLast_, list_.count() - 1);
        list_.bulkFirst_ = list_.bulkLast_ = -1;
        if (first <= last)
            emit list_.cellsChanged(first, last);
        const int contentFirst = list_.bulkContentFirst_;
        const int contentLast = std::min(list_.bulkContentLast_, list_.count() - 1);
        list_.bulkContentFirst_ = list_.bulkContentLast_ = -1;
        if (contentFirst >= 0 && contentFirst <= contentLast)
            emit list_.contentChanged(contentFirst, contentLast);
    }
}

} // namespace korv
