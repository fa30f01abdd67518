#pragma once
// Bytes of subtitle and language files to text and back.
//
// Files are written in Windows-1254 with CR LF. Reading also takes UTF-8:
// a byte-order mark, or bytes that form valid UTF-8 with at least one
// multi-byte sequence, mean UTF-8 (the mark is not text); anything else is
// Windows-1254.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <vector>

namespace korv {

enum class TextEncoding { Windows1254, Utf8 };

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Windows1254;
};

DecodedText decodeText(QByteArrayView bytes);

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
