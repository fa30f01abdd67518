#pragma once
// Bytes of subtitle and language files to text and back.
//
// Files are written in Windows-1254 with CR LF. Reading also takes UTF-8
// and UTF-16: a byte-order mark says which (the mark is not text, nor is
// one further in, where two files were joined); without one, bytes whose
// UTF-8 multi-byte sequences are at least twice as many as the bytes that
// fit none are UTF-8, the strays replaced, and anything else is
// Windows-1254.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace korv {

enum class TextEncoding { Windows1254, Utf8, Utf16LE, Utf16BE };

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Windows1254;
    // Bytes that were no character in the encoding became U+FFFD.
    bool replaced = false;
};

// Which encoding a format's files are mostly in. It changes only the order
// of the work, never the answer: bytes expected in UTF-8 (SubRip) are decoded
// as UTF-8 first and weighed only when some byte fits no sequence; others
// are weighed first.
enum class ExpectedEncoding { Windows1254, Utf8 };

DecodedText decodeText(QByteArrayView bytes, ExpectedEncoding expected = ExpectedEncoding::Windows1254);

// For a format that is UTF-8 whatever its bytes look like (WebVTT): the
// byte-order marks as decodeText takes them, otherwise UTF-8.
DecodedText decodeUtf8Text(QByteArrayView bytes);

// UTF-8 or UTF-16 text that begins with its byte-order mark; nothing for
// bytes without one.
std::optional<DecodedText> decodeUnicodeByMark(QByteArrayView bytes);

// Decodes one value: UTF-8 when it is valid UTF-8 with multi-byte sequences,
// Windows-1254 otherwise.
QString decodeValue(QByteArrayView bytes);

// Lines end at CR LF, a lone CR or a lone LF. A terminator at the very end
// does not start another line. The views point into `text`.
std::vector<QStringView> splitLines(QStringView text);

struct EncodedText {
    QByteArray bytes;
    // Index into the text of the first character Windows-1254 cannot hold, -1 if none.
    qsizetype unencodable = -1;
};

EncodedText encodeWindows1254(QStringView text);

} // namespace korv
