// Texts packed into shared blocks as a file is read: each behaves as a
// string of its own, whatever happens to the others, the pack or the block.
#include "document/TextPack.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace korv;

TEST(TextPack, EachTextReadsBackEndsInAZeroAndOutlivesThePack)
{
    std::vector<QString> texts;
    {
        TextPack pack;
        // Enough to fill several blocks, of every length up to a long one.
        for (int i = 0; i < 5000; ++i)
            texts.push_back(pack.add(QString(i % 40 + 1, QChar(u'a' + i % 26)) + QString::number(i)));
        texts.push_back(pack.add(QString(TextPack::kLongestPacked + 1, u'x')));
        texts.push_back(pack.add(QString()));
    }
    for (int i = 0; i < 5000; ++i) {
        const QString &t = texts[std::size_t(i)];
        ASSERT_EQ(t, QString(i % 40 + 1, QChar(u'a' + i % 26)) + QString::number(i)) << i;
        // Handed to whatever wants a C string of UTF-16.
        ASSERT_EQ(t.utf16()[t.size()], u'\0') << i;
    }
    EXPECT_EQ(texts[5000], QString(TextPack::kLongestPacked + 1, u'x'));
    EXPECT_TRUE(texts[5001].isEmpty());
}

TEST(TextPack, ChangingOneTextLeavesItsNeighboursAlone)
{
    std::vector<QString> texts;
    {
        TextPack pack;
        for (const char *t : {"10.5", "12.25", "Merhaba|dünya", "x"})
            texts.push_back(pack.add(QString::fromUtf8(t)));
    }
    // Grown, cut, written into and replaced, while the block is shared.
    texts[0].append(QStringLiteral("0000"));
    texts[1].truncate(2);
    texts[2][0] = u'm';
    texts[3] = QStringLiteral("yeni");
    EXPECT_EQ(texts, (std::vector<QString>{"10.50000", "12", "merhaba|dünya", "yeni"}));

    // The last text of a block, alone in it now, changed in place.
    std::unique_ptr<QString> last;
    {
        TextPack pack;
        std::vector<QString> others;
        for (int i = 0; i < 100; ++i)
            others.push_back(pack.add(QStringLiteral("row %1").arg(i)));
        last = std::make_unique<QString>(pack.add(QStringLiteral("son")));
    }
    last->append(QString(3000, u'z'));
    last->prepend(QStringLiteral("ilk "));
    EXPECT_EQ(*last, QStringLiteral("ilk son") + QString(3000, u'z'));
    EXPECT_EQ(last->utf16()[last->size()], u'\0');
    // Past the block's end: moved to a larger one.
    last->append(QString(TextPack::kBlockChars, u'y'));
    EXPECT_EQ(*last, QStringLiteral("ilk son") + QString(3000, u'z') + QString(TextPack::kBlockChars, u'y'));
    EXPECT_EQ(last->utf16()[last->size()], u'\0');
}
