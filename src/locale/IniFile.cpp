#include "locale/IniFile.h"

#include "document/TextCodec.h"

#include <QFile>
#include <QStringDecoder>

namespace korv {

namespace {

constexpr qsizetype kMaxValueLength = 1023;

QByteArrayView trimmed(QByteArrayView v)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!v.isEmpty() && blank(v.front()))
        v = v.sliced(1);
    while (!v.isEmpty() && blank(v.back()))
        v.chop(1);
    return v;
}

// A value longer than any text it can give is cut before decoding, at a
// byte that cannot be inside a UTF-8 sequence (a single-byte text keeps more
// than enough characters either way).
QByteArrayView cutForDecoding(QByteArrayView value)
{
    constexpr qsizetype kMaxBytes = 4 * kMaxValueLength;
    if (value.size() <= kMaxBytes)
        return value;
    qsizetype end = kMaxBytes;
    while (end > 0 && (static_cast<unsigned char>(value[end]) & 0xC0) == 0x80)
        --end;
    return value.first(end);
}

// The bytes past a byte-order mark; UTF-16 (Notepad's "Unicode") is turned
// into UTF-8 in `copy` and read from there.
QByteArrayView withoutMark(QByteArrayView bytes, QByteArray &copy)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.sliced(3);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        copy = QString(utf16(bytes.sliced(2))).toUtf8();
        return copy;
    }
    return bytes;
}

// Takes the next line off the front of `rest`, blanks around it dropped.
QByteArrayView nextLine(QByteArrayView &rest)
{
    qsizetype end = 0;
    while (end < rest.size() && rest[end] != '\n' && rest[end] != '\r')
        ++end;
    const QByteArrayView line = trimmed(rest.first(end));
    rest = rest.sliced(end);
    while (!rest.isEmpty() && (rest.front() == '\n' || rest.front() == '\r'))
        rest = rest.sliced(1);
    return line;
}

// The name of a section line "[name]"; null for any other line.
QByteArrayView sectionName(QByteArrayView line)
{
    if (!line.startsWith('['))
        return {};
    const qsizetype close = line.indexOf(']');
    return close > 0 ? trimmed(line.sliced(1, close - 1)) : QByteArrayView("");
}

bool sameName(QByteArrayView a, const QByteArray &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString ReadIniString(const QString &section, const QString &key, const QString &fileName,
                      const QString &defaultText)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return defaultText;
    // Mapped rather than read, so a large file costs no copy of itself.
    if (const uchar *mapped = file.size() > 0 ? file.map(0, file.size()) : nullptr)
        return readIniValue(QByteArrayView(reinterpret_cast<const char *>(mapped), file.size()), section, key,
                            defaultText);
    const QByteArray bytes = file.readAll();
    return readIniValue(bytes, section, key, defaultText);
}

QString readIniValue(QByteArrayView bytes, const QString &section, const QString &key, const QString &defaultText)
{
    QByteArray copy;
    QByteArrayView rest = withoutMark(bytes, copy);
    // Names are plain ASCII in every language file; compare them as bytes.
    const QByteArray wantedSection = section.toUtf8();
    const QByteArray wantedKey = key.toUtf8();
    bool inSection = false;
    while (!rest.isEmpty()) {
        const QByteArrayView line = nextLine(rest);
        if (line.startsWith('[')) {
            if (inSection)
                break; // the first section of that name is the one read
            inSection = sameName(sectionName(line), wantedSection);
            continue;
        }
        if (!inSection || line.startsWith(';'))
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0 || !sameName(trimmed(line.first(eq)), wantedKey))
            continue;
        QByteArrayView value = trimmed(line.sliced(eq + 1));
        if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"')
                                  || (value.front() == '\'' && value.back() == '\'')))
            value = value.sliced(1, value.size() - 2);
        // A zero byte ends the value, as it ends a C string.
        const qsizetype zero = value.indexOf('\0');
        if (zero >= 0)
            value = value.first(zero);
        value = cutForDecoding(value);
        QString text = decodeValue(value);
        if (text.size() > kMaxValueLength)
            text.truncate(kMaxValueLength);
        return text;
    }
    return defaultText;
}

QStringList iniSectionNames(QByteArrayView bytes)
{
    QByteArray copy;
    QByteArrayView rest = withoutMark(bytes, copy);
    QStringList names;
    while (!rest.isEmpty()) {
        const QByteArrayView name = sectionName(nextLine(rest));
        if (!name.isNull())
            names << decodeValue(name);
    }
    return names;
}

} // namespace korv
