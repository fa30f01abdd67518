#include "document/TextPack.h"

#include <algorithm>

namespace korv {

TextPack::~TextPack()
{
    release();
}

void TextPack::release()
{
    if (block_ && !block_->deref())
        QTypedArrayData<char16_t>::deallocate(block_);
    block_ = nullptr;
    next_ = nullptr;
    free_ = 0;
}

QString TextPack::add(QStringView text)
{
    if (text.isEmpty() || text.size() > kLongestPacked)
        return text.toString();
    // Each text ends with a 0, as every string Qt makes does.
    const qsizetype needed = text.size() + 1;
    if (free_ < needed) {
        release();
        auto [block, data] = QTypedArrayData<char16_t>::allocate(kBlockChars);
        if (!block)
            return text.toString();
        block_ = block;
        next_ = data;
        free_ = kBlockChars;
    }
    std::copy(text.utf16(), text.utf16() + text.size(), next_);
    next_[text.size()] = u'\0';
    block_->ref();
    QString packed(QString::DataPointer(block_, next_, text.size()));
    next_ += needed;
    free_ -= needed;
    return packed;
}

void TextPack::packRow(SubtitleEntry &entry)
{
    entry.start = add(entry.start);
    entry.end = add(entry.end);
    entry.text = add(entry.text);
}

} // namespace korv
