#include "document/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

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

bool isValidUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString ignored = utf8(bytes);
    return !utf8.hasError();
}

QString decodeCodePage(QByteArrayView bytes)
{
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

DecodedText decodeText(QByteArrayView bytes)
{
    DecodedText out;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        out.encoding = TextEncoding::Utf8;
        out.text = QString::fromUtf8(bytes.sliced(3));
        return out;
    }
    if (hasHighByte(bytes) && isValidUtf8(bytes)) {
        out.encoding = TextEncoding::Utf8;
        out.text = QString::fromUtf8(bytes);
        return out;
    }
    out.text = decodeCodePage(bytes);
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
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c == u'\r' || c == u'\n') {
            lines.emplace_back(data + start, i - start);
            if (c == u'\r' && i + 1 < n && data[i + 1].unicode() == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.emplace_back(data + start, n - start);
    return lines;
}

bool fitsWindows1254(QStringView text)
{
    const auto &table = encodableTable();
    for (QChar c : text) {
        if (!table[c.unicode()])
            return false;
    }
    return true;
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
