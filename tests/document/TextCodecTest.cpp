#include "document/TextCodec.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace korv;

TEST(TextCodec, TurkishBytesAreWindows1254)
{
    const DecodedText d = decodeText(QByteArray("\xDE\x65ker \xE7\x61y\xFD \xD0\xFCzel \xDDyi"));
    EXPECT_EQ(d.encoding, TextEncoding::Windows1254);
    EXPECT_EQ(d.text, QStringLiteral("Şeker çayı Ğüzel İyi"));
}

TEST(TextCodec, Utf8IsRecognisedWithOrWithoutMark)
{
    const QByteArray utf8 = QStringLiteral("Şeker çayı").toUtf8();
    const DecodedText plain = decodeText(utf8);
    EXPECT_EQ(plain.encoding, TextEncoding::Utf8);
    EXPECT_EQ(plain.text, QStringLiteral("Şeker çayı"));
    const DecodedText marked = decodeText(QByteArray("\xEF\xBB\xBF") + utf8);
    EXPECT_EQ(marked.encoding, TextEncoding::Utf8);
    EXPECT_EQ(marked.text, QStringLiteral("Şeker çayı")); // the mark is not text
    EXPECT_EQ(decodeText(QByteArray("plain ascii")).text, "plain ascii");
}

TEST(TextCodec, LinesEndAtCrLfCrOrLf)
{
    const QString text = QStringLiteral("a\r\nb\rc\nd\r\n\r\ne");
    const auto lines = splitLines(text);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], u"a");
    EXPECT_EQ(lines[1], u"b");
    EXPECT_EQ(lines[2], u"c");
    EXPECT_EQ(lines[3], u"d");
    EXPECT_EQ(lines[4], u"");
    EXPECT_EQ(lines[5], u"e");
    EXPECT_EQ(splitLines(u"x\r\n").size(), 1u);
    EXPECT_EQ(splitLines(u"").size(), 0u);
}

TEST(TextCodec, EncodingFindsTheFirstCharacterWithoutAByte)
{
    const EncodedText ok = encodeWindows1254(u"Işık ğüşöç €");
    EXPECT_EQ(ok.unencodable, -1);
    EXPECT_EQ(ok.bytes, QByteArray("I\xFE\xFDk \xF0\xFC\xFE\xF6\xE7 \x80"));
    const EncodedText bad = encodeWindows1254(u"ab\u4E2Dc");
    EXPECT_EQ(bad.unencodable, 2);
    EXPECT_FALSE(fitsWindows1254(QStringLiteral("😀")));
}

TEST(TextCodec, InvalidOrOverlongUtf8IsWindows1254)
{
    EXPECT_EQ(decodeText(QByteArray("\xC0\xAF")).encoding, TextEncoding::Windows1254);       // overlong "/"
    EXPECT_EQ(decodeText(QByteArray("\xED\xA0\x80")).encoding, TextEncoding::Windows1254);  // a surrogate
    EXPECT_EQ(decodeText(QByteArray("ok \xC3")).encoding, TextEncoding::Windows1254);         // cut short
    EXPECT_EQ(decodeText(QByteArray("\xF0\x9F\x98\x80")).encoding, TextEncoding::Utf8);     // an emoji
}
