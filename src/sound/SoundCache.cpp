#include "sound/SoundCache.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <cstring>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

namespace korv::sound {

namespace {
// Read straight from the file system: QFileInfo::lastModified() goes through
// local time, whose conversion (tzset) two workers must not run at once.
qint64 modifiedMs(const QFileInfo &info)
{
#ifdef Q_OS_LINUX
    struct stat st {};
    if (::stat(QFile::encodeName(info.filePath()).constData(), &st) == 0)
        return qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
#endif
    return info.lastModified().toMSecsSinceEpoch();
}
} // namespace

std::optional<FilmKey> filmKey(const QString &path, int audioTrack)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    const QString canonical = info.canonicalFilePath();
    return FilmKey{canonical.isEmpty() ? info.absoluteFilePath() : canonical, info.size(), modifiedMs(info), audioTrack};
}

const CacheSection *CacheEntry::find(quint32 tag, quint32 version) const
{
    const auto it = std::ranges::find_if(sections, [&](const CacheSection &s) { return s.tag == tag && s.version == version; });
    return it == sections.end() ? nullptr : &*it;
}

void CacheEntry::put(CacheSection section)
{
    const auto it = std::ranges::find(sections, section.tag, &CacheSection::tag);
    if (it == sections.end())
        sections.push_back(std::move(section));
    else
        *it = std::move(section);
}

// ---- the file ----
// "KORVSNDC", u32 format version, u32 key length, the key (UTF-8 path, NUL,
// size, modification time, track), u32 section count, then per section u32
// tag, u32 version, u64 length and its bytes; last a u64 checksum of all
// before it. Integers little-endian.

namespace {

constexpr char kMagic[8] = {'K', 'O', 'R', 'V', 'S', 'N', 'D', 'C'};
constexpr quint32 kFormatVersion = 1;

// A fast 64-bit checksum (a multiply-rotate over 8-byte words): damage, not
// malice, is what it has to catch, and a 2-hour film's entry must be checked
// in a few milliseconds. Fed in pieces of any length, as an entry is written
// piece by piece; the total length is known before.
class Checksum {
public:
    explicit Checksum(qsizetype total) : h_(0x27D4EB2F165667C5ULL ^ quint64(total)) {}
    void add(const char *data, qsizetype size)
    {
        while (size > 0 && held_ > 0) { // finish a word the last piece began
            word_[held_++] = *data++;
            --size;
            if (held_ == 8)
                mix(word_), held_ = 0;
        }
        if (held_ > 0)
            return; // the piece ended inside that word
        for (; size >= 8; data += 8, size -= 8)
            mix(data);
        std::memcpy(word_, data, size_t(size));
        held_ = int(size);
    }
    quint64 result()
    {
        quint64 tail = 0;
        for (int j = 0; j < held_; ++j)
            tail |= quint64(quint8(word_[j])) << (8 * j);
        h_ ^= tail * k1;
        h_ ^= h_ >> 29;
        h_ *= k2;
        return h_ ^ (h_ >> 32);
    }

private:
    static constexpr quint64 k1 = 0x9E3779B185EBCA87ULL, k2 = 0xC2B2AE3D27D4EB4FULL;
    void mix(const char *p)
    {
        quint64 w;
        std::memcpy(&w, p, 8);
        h_ ^= qFromLittleEndian(w) * k1;
        h_ = (h_ << 31 | h_ >> 33) * k2;
    }
    quint64 h_;
    char word_[8] = {};
    int held_ = 0;
};

quint64 checksum(const char *data, qsizetype size)
{
    Checksum sum(size);
    sum.add(data, size);
    return sum.result();
}

template<typename T>
void put(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof bytes);
}

class Reader {
public:
    Reader(const char *data, qsizetype size) : p_(data), end_(data + size) {}
    template<typename T>
    bool get(T *value)
    {
        if (end_ - p_ < qsizetype(sizeof(T)))
            return false;
        *value = qFromLittleEndian<T>(p_);
        p_ += sizeof(T);
        return true;
    }
    bool bytes(quint64 n, QByteArray *out)
    {
        if (quint64(end_ - p_) < n)
            return false;
        *out = QByteArray(p_, qsizetype(n));
        p_ += n;
        return true;
    }
    bool atEnd() const { return p_ == end_; }

private:
    const char *p_;
    const char *end_;
};

QByteArray keyBytes(const FilmKey &key)
{
    QByteArray out = key.path.toUtf8();
    out.append('\0');
    put<qint64>(out, key.size);
    put<qint64>(out, key.modifiedMs);
    put<qint32>(out, key.audioTrack);
    return out;
}

std::optional<FilmKey> keyFrom(const QByteArray &bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul < 0)
        return std::nullopt;
    FilmKey key;
    key.path = QString::fromUtf8(bytes.constData(), nul);
    Reader r(bytes.constData() + nul + 1, bytes.size() - nul - 1);
    qint32 track = 0;
    if (!r.get(&key.size) || !r.get(&key.modifiedMs) || !r.get(&track) || !r.atEnd())
        return std::nullopt;
    key.audioTrack = track;
    return key;
}

constexpr auto kSuffix = ".sound";

} // namespace

namespace {

// The entry's bytes handed to `write` piece by piece, the sections' data as
// they are: an entry holds megabytes, and the file need not be assembled in
// memory first.
template<typename Write>
void writeEntry(const CacheEntry &entry, Write write)
{
    QByteArray head;
    head.append(kMagic, sizeof kMagic);
    put<quint32>(head, kFormatVersion);
    const QByteArray key = keyBytes(entry.key);
    put<quint32>(head, quint32(key.size()));
    head.append(key);
    put<quint32>(head, quint32(entry.sections.size()));
    qsizetype total = head.size();
    for (const CacheSection &s : entry.sections)
        total += 16 + s.data.size();
    Checksum sum(total);
    auto piece = [&](const QByteArray &bytes) {
        sum.add(bytes.constData(), bytes.size());
        write(bytes);
    };
    piece(head);
    for (const CacheSection &s : entry.sections) {
        QByteArray sectionHead;
        put<quint32>(sectionHead, s.tag);
        put<quint32>(sectionHead, s.version);
        put<quint64>(sectionHead, quint64(s.data.size()));
        piece(sectionHead);
        piece(s.data);
    }
    QByteArray tail;
    put<quint64>(tail, sum.result());
    write(tail);
}

} // namespace

std::optional<CacheEntry> SoundCache::decode(const QByteArray &bytes)
{
    if (bytes.size() < qsizetype(sizeof kMagic + 8) || std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
        return std::nullopt;
    const qsizetype body = bytes.size() - 8;
    if (qFromLittleEndian<quint64>(bytes.constData() + body) != checksum(bytes.constData(), body))
        return std::nullopt;
    Reader r(bytes.constData() + sizeof kMagic, body - qsizetype(sizeof kMagic));
    quint32 version = 0, keyLength = 0, count = 0;
    QByteArray key;
    if (!r.get(&version) || version != kFormatVersion || !r.get(&keyLength) || !r.bytes(keyLength, &key))
        return std::nullopt;
    CacheEntry entry;
    const auto parsedKey = keyFrom(key);
    if (!parsedKey || !r.get(&count))
        return std::nullopt;
    entry.key = *parsedKey;
    for (quint32 i = 0; i < count; ++i) {
        CacheSection s;
        quint64 length = 0;
        if (!r.get(&s.tag) || !r.get(&s.version) || !r.get(&length) || !r.bytes(length, &s.data))
            return std::nullopt;
        entry.sections.push_back(std::move(s));
    }
    if (!r.atEnd())
        return std::nullopt;
    return entry;
}

SoundCache::SoundCache(QString folder, qint64 limitBytes)
    : folder_(folder.isEmpty() ? defaultFolder() : std::move(folder))
    , limit_(limitBytes)
{
}

QString SoundCache::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/sound");
}

QString SoundCache::entryPath(const FilmKey &key) const
{
    QByteArray name = key.path.toUtf8();
    name.append('\0');
    name.append(QByteArray::number(key.audioTrack));
    const QByteArray hash = QCryptographicHash::hash(name, QCryptographicHash::Sha1).toHex();
    return folder_ + QLatin1Char('/') + QString::fromLatin1(hash) + QLatin1String(kSuffix);
}

SoundCache::Lookup SoundCache::load(const FilmKey &key, CacheEntry *entry) const
{
    QFile file(entryPath(key));
    if (!file.open(QIODevice::ReadOnly))
        return Lookup::Missing;
    const QByteArray bytes = file.readAll();
    auto decoded = decode(bytes);
    if (!decoded)
        return Lookup::Damaged;
    if (!(decoded->key == key))
        return Lookup::Outdated;
    // Used now: the least recently used entries go first when trimming.
    file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    if (entry)
        *entry = std::move(*decoded);
    return Lookup::Hit;
}

bool SoundCache::store(const CacheEntry &entry) const
{
    if (!QDir().mkpath(folder_))
        return false;
    QSaveFile file(entryPath(entry.key));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    bool written = true;
    writeEntry(entry, [&](const QByteArray &piece) { written = written && file.write(piece) == piece.size(); });
    if (!written || !file.commit())
        return false;
    trim();
    return true;
}

void SoundCache::trim() const
{
    QDir dir(folder_);
    struct Item {
        QString path;
        qint64 size;
        qint64 used;
    };
    std::vector<Item> entries;
    qint64 total = 0;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
        const qint64 used = modifiedMs(info);
        if (!info.fileName().endsWith(QLatin1String(kSuffix))) {
            // A temporary file of a writer that died (a live one is seconds old).
            if (now - used > 3600 * 1000)
                QFile::remove(info.filePath());
            continue;
        }
        entries.push_back({info.filePath(), info.size(), used});
        total += info.size();
    }
    if (total <= limit_)
        return;
    std::ranges::sort(entries, {}, &Item::used);
    for (const Item &item : entries) {
        if (total <= limit_)
            break;
        if (QFile::remove(item.path))
            total -= item.size;
    }
}

} // namespace korv::sound
