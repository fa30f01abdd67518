#pragma once
// Short texts written one after another into shared blocks, each a QString
// of its own that points into its block, as a file's rows are read. A text
// made alone takes a heap block of its own: 48 bytes for a time of seven
// characters, 96 for a line of 36; packed, it takes its characters and an
// end mark (16 and 74 bytes). A 100,000-row document saves about 9 MB.
//
// The strings are ordinary to every reader and writer of them: Qt counts
// the strings of a block, frees it with the last, and copies a string
// before changing it while another shares its block.

#include <QString>
#include <QStringView>

#include "document/SubtitleList.h"

namespace korv {

class TextPack {
public:
    TextPack() = default;
    ~TextPack();
    TextPack(const TextPack &) = delete;
    TextPack &operator=(const TextPack &) = delete;

    // `text` as a string in the current block (a new block when it is full);
    // an empty or a long text as a string of its own.
    QString add(QStringView text);
    // The row's start, end and text packed in place of its own strings.
    void packRow(SubtitleEntry &entry);

    // Characters a block holds, and the longest text packed.
    static constexpr qsizetype kBlockChars = 16 * 1024;
    static constexpr qsizetype kLongestPacked = 512;

private:
    void release();

    QTypedArrayData<char16_t> *block_ = nullptr; // one reference of its own
    char16_t *next_ = nullptr;
    qsizetype free_ = 0;
};

} // namespace korv
