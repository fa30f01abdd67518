#include "document/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <cstring>
#include <optional>

#ifdef __SSE2__
#include <emmintrin.h>
#endif


namespace korv {

namespace {

const char *const kCodePage = "windows-1254";

bool hasHighByte(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

// The length of the valid UTF-8 sequence of a lead byte at `p`, 0 when
// none starts there.
int utf8SequenceLength(const unsigned char *p, const unsigned char *end)
{
    const unsigned char c = *p;
    int more = 0;
    unsigned int code = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        more = 1;
        code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        more = 2;
        code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        more = 3;
        code = c & 0x07;
    } else {
        return 0;
    }
    if (end - p <= more)
        return 0;
    for (int k = 1; k <= more; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[k] & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if ((more == 2 && code < 0x800) || (more == 3 && (code < 0x10000 || code > 0x10FFFF))
        || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return more + 1;
}

// What the bytes say of UTF-8: its multi-byte sequences, and the bytes
// above 0x7F that begin none.
struct Utf8Evidence {
    qsizetype sequences = 0;
    qsizetype strayBytes = 0;
};

Utf8Evidence weighUtf8(QByteArrayView bytes)
{
    Utf8Evidence e;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        // Eight plain ASCII bytes at a time: most of a subtitle file.
        if (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        if (*p < 0x80) {
            ++p;
            continue;
        }
        if (const int length = utf8SequenceLength(p, end)) {
            ++e.sequences;
            p += length;
        } else {
            ++e.strayBytes;
            ++p;
            // Past the point where the rest could not outweigh the strays
            // (a sequence takes two bytes at least), the answer is known.
            if (e.sequences + (end - p) / 2 < 2 * e.strayBytes)
                return e;
        }
    }
    return e;
}

// Stops at the first byte that cannot be UTF-8: a Windows-1254 value is
// turned down within its first Turkish letter.
bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const int length = utf8SequenceLength(p, end);
        if (!length)
            return false;
        p += length;
    }
    return true;
}

// Windows-1254 gives one character a byte, whatever stands around it: a
// table built once from the system's decoder decodes without opening a
// converter for every text (a language file's lookups decode many short ones).
using CodePageTable = std::array<char16_t, 256>;

const CodePageTable *codePageTable()
{
    static const std::optional<CodePageTable> table = []() -> std::optional<CodePageTable> {
        QStringDecoder decoder(kCodePage);
        QByteArray all(256, '\0');
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString decoded = decoder.isValid() ? decoder(all) : QString();
        if (decoded.size() != 256)
            return std::nullopt;
        CodePageTable t{};
        for (int i = 0; i < 256; ++i)
            t[std::size_t(i)] = decoded[i].unicode();
        return t;
    }();
    return table ? &*table : nullptr;
}

QString decodeCodePage(QByteArrayView bytes)
{
    if (const CodePageTable *table = codePageTable()) {
        QString text(bytes.size(), Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(text.data());
        for (char c : bytes)
            *out++ = (*table)[static_cast<unsigned char>(c)];
        return text;
    }
    QStringDecoder decoder(kCodePage);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder(bytes);
}

// Unicode characters that have a Windows-1254 byte, built once from the
// decoder itself so that encoding and decoding agree.
const std::array<bool, 0x10000> &encodableTable()
{
    static const std::array<bool, 0x10000> table = [] {
        std::array<bool, 0x10000> t{};
        QByteArray all(256, '\0');
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString decoded = decodeCodePage(all);
        for (QChar c : decoded) {
            if (c != QChar::ReplacementCharacter)
                t[c.unicode()] = true;
        }
        return t;
    }();
    return table;
}

} // namespace

namespace {

// A byte-order mark further in (two files joined) is no text.
void dropInnerMarks(QString &text)
{
    if (text.contains(QChar(0xFEFF)))
        text.remove(QChar(0xFEFF));
}

QString fromUtf16(QByteArrayView bytes, bool bigEndian, bool &replaced)
{
    QStringDecoder decoder(bigEndian ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE);
    QString text = decoder(bytes);
    // An odd last byte is a character cut short.
    replaced = decoder.hasError() || text.contains(QChar::ReplacementCharacter);
    return text;
}

// UTF-8 with every invalid byte replaced; `replaced` tells whether one was.
QString fromUtf8(QByteArrayView bytes, bool &replaced)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    replaced = decoder.hasError();
    return text;
}

} // namespace

std::optional<DecodedText> decodeUnicodeByMark(QByteArrayView bytes)
{
    DecodedText out;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        out.encoding = TextEncoding::Utf8;
        out.text = fromUtf8(bytes.sliced(3), out.replaced);
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool bigEndian = bytes[0] == '\xFE';
        out.encoding = bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE;
        out.text = fromUtf16(bytes.sliced(2), bigEndian, out.replaced);
    } else {
        return std::nullopt;
    }
    dropInnerMarks(out.text);
    return out;
}

DecodedText decodeText(QByteArrayView bytes, ExpectedEncoding expected)
{
    if (std::optional<DecodedText> marked = decodeUnicodeByMark(bytes))
        return std::move(*marked);
    DecodedText out;
    if (expected == ExpectedEncoding::Utf8) {
        // Stateless: a sequence cut short at the end is an error too.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder(bytes);
        if (!decoder.hasError()) {
            // Valid UTF-8 has no stray byte: it is UTF-8 when it holds a
            // multi-byte sequence (the text is then shorter than the bytes),
            // and plain ASCII otherwise, which Windows-1254 reads alike.
            if (text.size() < bytes.size())
                out.encoding = TextEncoding::Utf8;
            out.text = std::move(text);
            dropInnerMarks(out.text);
            return out;
        }
    }
    // UTF-8 when its sequences outweigh the bytes that fit none: one stray
    // byte in a UTF-8 file is damage to be shown, while a Windows-1254 file
    // has a stray byte at nearly every Turkish letter and hardly a sequence.
    const Utf8Evidence evidence = weighUtf8(bytes);
    if (evidence.sequences > 0 && evidence.sequences >= 2 * evidence.strayBytes) {
        out.encoding = TextEncoding::Utf8;
        out.text = fromUtf8(bytes, out.replaced);
    } else {
        out.text = decodeCodePage(bytes);
    }
    dropInnerMarks(out.text);
    return out;
}

DecodedText decodeUtf8Text(QByteArrayView bytes)
{
    if (std::optional<DecodedText> marked = decodeUnicodeByMark(bytes))
        return std::move(*marked);
    DecodedText out;
    out.encoding = TextEncoding::Utf8;
    out.text = fromUtf8(bytes, out.replaced);
    dropInnerMarks(out.text);
    return out;
}

QString decodeValue(QByteArrayView bytes)
{
    if (hasHighByte(bytes) && isValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return decodeCodePage(bytes);
}

std::vector<QStringView> splitLines(QStringView text)
{
    std::vector<QStringView> lines;
    lines.reserve(std::size_t(text.size() / 32 + 1));
    const QChar *data = text.data();
    const qsizetype n = text.size();
    qsizetype start = 0;
    // A line ends at `at`; the next begins past it, or past its CR LF.
    const auto endLine = [&](qsizetype at) {
        lines.emplace_back(data + start, at - start);
        start = at + 1;
        if (data[at].unicode() == u'\r' && start < n && data[start].unicode() == u'\n')
            ++start;
    };
    qsizetype i = 0;
#ifdef __SSE2__
    // Sixteen characters at a time, every line end in them taken from one
    // mask: a file of 100,000 subtitles has some millions of characters and
    // hundreds of thousands of lines of any length.
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i lf = _mm_set1_epi16(u'\n');
    const auto endsIn = [&](qsizetype at) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
        return unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(chunk, cr), _mm_cmpeq_epi16(chunk, lf))));
    };
    for (; i + 16 <= n; i += 16) {
        // Two bits a character: the lower one is kept.
        unsigned ends = (endsIn(i) | endsIn(i + 8) << 16) & 0x55555555u;
        while (ends) {
            const qsizetype at = i + __builtin_ctz(ends) / 2;
            // Not the LF of a CR LF already taken.
            if (at >= start)
                endLine(at);
            ends &= ends - 1;
        }
    }
#endif
    for (; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if ((c == u'\r' || c == u'\n') && i >= start)
            endLine(i);
    }
    if (start < n)
        lines.emplace_back(data + start, n - start);
    return lines;
}

EncodedText encodeWindows1254(QStringView text)
{
    EncodedText out;
    const auto &table = encodableTable();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!table[text[i].unicode()]) {
            out.unencodable = i;
            return out;
        }
    }
    QStringEncoder encoder(kCodePage);
    if (!encoder.isValid()) {
        out.bytes = text.toLatin1();
        return out;
    }
    out.bytes = encoder(text);
    return out;
}

} // namespace korv
