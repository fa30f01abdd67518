#pragma once
// The per-film cache of sound analyses, in the user's cache folder. One file
// an entry, named by the film's path and audio track, holding the film's
// identity (path, size, modification time, track) and typed, versioned
// sections: the peaks now, other analyses of the same sound beside them
// later, without a change of format. Entries are written whole through a
// temporary file and a rename, so a reader (another editor too) sees the old
// entry or the new one, never half of one; a checksum over the whole file
// turns any damage into a miss. The folder keeps itself under a size,
// dropping the entries used least recently.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace korv::sound {

// What identifies the analysed sound: a film changed in place (new size or
// modification time) is a different film.
struct FilmKey {
    QString path; // absolute, links resolved
    qint64 size = 0;
    qint64 modifiedMs = 0;
    int audioTrack = 0;

    bool operator==(const FilmKey &) const = default;
};
// Nullopt when the file cannot be looked at.
std::optional<FilmKey> filmKey(const QString &path, int audioTrack);

constexpr quint32 sectionTag(const char (&four)[5])
{
    return quint32(quint8(four[0])) << 24 | quint32(quint8(four[1])) << 16 | quint32(quint8(four[2])) << 8 | quint8(four[3]);
}

struct CacheSection {
    quint32 tag = 0;     // sectionTag("PEAK"), ...
    quint32 version = 0; // the section's own layout; a reader skips versions it does not know
    QByteArray data;
};

struct CacheEntry {
    FilmKey key;
    std::vector<CacheSection> sections;

    const CacheSection *find(quint32 tag, quint32 version) const;
    // Replaces a section of the same tag (whatever its version), or adds it.
    void put(CacheSection section);
};

class SoundCache {
public:
    static constexpr qint64 kDefaultLimit = 1000LL * 1000 * 1000;

    // `folder` empty: the user's cache folder, …/<organisation>/<application>/sound.
    explicit SoundCache(QString folder = {}, qint64 limitBytes = kDefaultLimit);

    static QString defaultFolder();
    const QString &folder() const { return folder_; }

    enum class Lookup { Hit, Missing, Outdated, Damaged };
    // A hit counts as a use for the least-recently-used order.
    Lookup load(const FilmKey &key, CacheEntry *entry) const;
    // Writes the whole entry atomically, then trims the folder to its limit.
    // False when it could not be written (a full or read-only disk): the
    // analysis stands without it.
    bool store(const CacheEntry &entry) const;
    // Drops the least recently used entries until the folder is within the
    // limit, and temporary files a crashed writer left behind.
    void trim() const;

    QString entryPath(const FilmKey &key) const;

    static std::optional<CacheEntry> decode(const QByteArray &bytes);

private:
    QString folder_;
    qint64 limit_;
};

} // namespace korv::sound
