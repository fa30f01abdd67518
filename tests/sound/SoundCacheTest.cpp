// The cache file: an entry comes back whole with sections it does not know,
// any damage reads as a miss, a film changed in place is a different film,
// writers never show a reader half an entry, and the folder keeps its bound.
#include "sound/SoundCache.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

using namespace korv::sound;

namespace {

class SoundCacheTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString film(const QString &name, const QByteArray &bytes = "film")
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    static CacheEntry entryFor(const FilmKey &key, qsizetype peakBytes = 1000, char fill = 'p')
    {
        CacheEntry e{key, {}};
        e.put({sectionTag("PEAK"), 1, QByteArray(peakBytes, fill)});
        e.put({sectionTag("SPCH"), 3, QByteArray("speech features")});
        return e;
    }
    QString cacheFolder() const { return dir.filePath(QStringLiteral("cache")); }
};

TEST_F(SoundCacheTest, AnEntryComesBackWithEverySectionAndItsVersion)
{
    const SoundCache cache(cacheFolder());
    const FilmKey key = *filmKey(film("a.mkv"), 1);
    ASSERT_TRUE(cache.store(entryFor(key)));
    CacheEntry back;
    ASSERT_EQ(cache.load(key, &back), SoundCache::Lookup::Hit);
    EXPECT_EQ(back.key, key);
    ASSERT_NE(back.find(sectionTag("PEAK"), 1), nullptr);
    EXPECT_EQ(back.find(sectionTag("PEAK"), 1)->data, QByteArray(1000, 'p'));
    ASSERT_NE(back.find(sectionTag("SPCH"), 3), nullptr);
    EXPECT_EQ(back.find(sectionTag("SPCH"), 3)->data, QByteArray("speech features"));
    // A reader expecting another layout of a section does not take it.
    EXPECT_EQ(back.find(sectionTag("SPCH"), 4), nullptr);

    // Another track of the same film is another entry.
    EXPECT_EQ(cache.load(*filmKey(film("a.mkv"), 0), &back), SoundCache::Lookup::Missing);
}

TEST_F(SoundCacheTest, SectionsOfAFewBytesOrNoneComeBackToo)
{
    // The entry is written piece by piece; pieces shorter than a checksum
    // word must not be lost from it.
    const SoundCache cache(cacheFolder());
    const FilmKey key = *filmKey(film("tiny.mkv"), 0);
    CacheEntry e{key, {}};
    e.put({sectionTag("AAAA"), 1, QByteArray("abc")});
    e.put({sectionTag("BBBB"), 1, QByteArray()});
    e.put({sectionTag("CCCC"), 1, QByteArray("d")});
    ASSERT_TRUE(cache.store(e));
    CacheEntry back;
    ASSERT_EQ(cache.load(key, &back), SoundCache::Lookup::Hit);
    ASSERT_NE(back.find(sectionTag("CCCC"), 1), nullptr);
    EXPECT_EQ(back.find(sectionTag("AAAA"), 1)->data, QByteArray("abc"));
    EXPECT_EQ(back.find(sectionTag("CCCC"), 1)->data, QByteArray("d"));
}

TEST_F(SoundCacheTest, AFilmChangedInPlaceFindsItsEntryOutdated)
{
    const SoundCache cache(cacheFolder());
    const QString path = film("b.mkv", "first film");
    ASSERT_TRUE(cache.store(entryFor(*filmKey(path, 0))));

    // Same size, new modification time.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(60), QFileDevice::FileModificationTime);
    f.close();
    EXPECT_EQ(cache.load(*filmKey(path, 0), nullptr), SoundCache::Lookup::Outdated);

    // New size, modification time put back.
    ASSERT_TRUE(cache.store(entryFor(*filmKey(path, 0))));
    const QDateTime before = QFileInfo(path).lastModified();
    film("b.mkv", "a longer second film");
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(before, QFileDevice::FileModificationTime);
    f.close();
    EXPECT_EQ(cache.load(*filmKey(path, 0), nullptr), SoundCache::Lookup::Outdated);
}

TEST_F(SoundCacheTest, AnyDamageToAnEntryReadsAsDamaged)
{
    const SoundCache cache(cacheFolder());
    const FilmKey key = *filmKey(film("c.mkv"), 0);
    ASSERT_TRUE(cache.store(entryFor(key, 5000)));
    QFile file(cache.entryPath(key));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    file.close();
    auto damaged = [&](const QByteArray &bytes) {
        QFile f(cache.entryPath(key));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        return cache.load(key, nullptr);
    };
    for (qsizetype at : {qsizetype(0), qsizetype(9), qsizetype(20), good.size() / 2, good.size() - 1}) {
        QByteArray flipped = good;
        flipped[at] = char(flipped[at] ^ 0x10);
        EXPECT_EQ(damaged(flipped), SoundCache::Lookup::Damaged) << "byte " << at;
    }
    EXPECT_EQ(damaged(good.left(good.size() - 100)), SoundCache::Lookup::Damaged);
    EXPECT_EQ(damaged(good + "x"), SoundCache::Lookup::Damaged);
    EXPECT_EQ(damaged({}), SoundCache::Lookup::Damaged);
    EXPECT_EQ(damaged(good), SoundCache::Lookup::Hit);
}

TEST_F(SoundCacheTest, WritersNeverShowAReaderHalfAnEntry)
{
    // Two writers storing different entries for the same film over and over
    // (two editors analysing it at once) while a reader loads it.
    const SoundCache cache(cacheFolder());
    const FilmKey key = *filmKey(film("d.mkv"), 0);
    ASSERT_TRUE(cache.store(entryFor(key, 2000000, 'a')));
    std::atomic_bool stop{false};
    auto writer = [&](char fill) {
        while (!stop.load())
            cache.store(entryFor(key, 2000000, fill));
    };
    std::thread w1(writer, 'a'), w2(writer, 'b');
    int hits = 0, damaged = 0;
    for (int i = 0; i < 150; ++i) {
        CacheEntry e;
        const SoundCache::Lookup found = cache.load(key, &e);
        if (found == SoundCache::Lookup::Damaged)
            ++damaged;
        if (found == SoundCache::Lookup::Hit) {
            ++hits;
            const QByteArray peaks = e.find(sectionTag("PEAK"), 1)->data;
            ASSERT_TRUE(peaks == QByteArray(2000000, 'a') || peaks == QByteArray(2000000, 'b'));
        }
    }
    stop.store(true);
    w1.join();
    w2.join();
    EXPECT_EQ(damaged, 0);
    EXPECT_EQ(hits, 150);
    // No temporary file is left behind.
    EXPECT_EQ(QDir(cacheFolder()).entryList(QDir::Files).size(), 1);
}

TEST_F(SoundCacheTest, TheFolderKeepsUnderItsLimitDroppingTheLeastRecentlyUsed)
{
    // Room for three entries of about 100 kB.
    const SoundCache cache(cacheFolder(), 350000);
    std::vector<FilmKey> keys;
    const QDateTime base = QDateTime::currentDateTimeUtc().addSecs(-1000);
    for (int i = 0; i < 3; ++i) {
        keys.push_back(*filmKey(film(QStringLiteral("f%1.mkv").arg(i)), 0));
        ASSERT_TRUE(cache.store(entryFor(keys.back(), 100000)));
        // Stored a minute apart.
        QFile f(cache.entryPath(keys.back()));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        f.setFileTime(base.addSecs(60 * i), QFileDevice::FileModificationTime);
    }
    // The oldest one is opened again: now the second is the least recently used.
    ASSERT_EQ(cache.load(keys[0], nullptr), SoundCache::Lookup::Hit);
    keys.push_back(*filmKey(film(QStringLiteral("f3.mkv")), 0));
    ASSERT_TRUE(cache.store(entryFor(keys.back(), 100000)));
    EXPECT_EQ(cache.load(keys[0], nullptr), SoundCache::Lookup::Hit);
    EXPECT_EQ(cache.load(keys[1], nullptr), SoundCache::Lookup::Missing);
    EXPECT_EQ(cache.load(keys[2], nullptr), SoundCache::Lookup::Hit);
    EXPECT_EQ(cache.load(keys[3], nullptr), SoundCache::Lookup::Hit);
    qint64 total = 0;
    for (const QFileInfo &info : QDir(cacheFolder()).entryInfoList(QDir::Files))
        total += info.size();
    EXPECT_LE(total, 350000);

    // A temporary file a crashed writer left an hour ago goes too; a fresh one stays.
    const QString stale = cacheFolder() + QStringLiteral("/x.sound.Ab12Cd"), fresh = cacheFolder() + QStringLiteral("/y.sound.Ef34Gh");
    for (const QString &p : {stale, fresh}) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("half");
    }
    QFile old(stale);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    old.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-7200), QFileDevice::FileModificationTime);
    old.close();
    cache.trim();
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(fresh));
}

TEST_F(SoundCacheTest, AFolderThatCannotBeWrittenOnlyMeansNoCache)
{
    const QString blocker = film("not-a-folder");
    const SoundCache cache(blocker + QStringLiteral("/cache"));
    const FilmKey key = *filmKey(film("e.mkv"), 0);
    EXPECT_FALSE(cache.store(entryFor(key)));
    EXPECT_EQ(cache.load(key, nullptr), SoundCache::Lookup::Missing);
}

TEST(SoundCacheFolder, IsTheProgramsOwnFolderInTheUsersCache)
{
    QStandardPaths::setTestModeEnabled(false);
    const QString previousOrg = QCoreApplication::organizationName(), previousApp = QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName(QStringLiteral("Korvendal"));
    QCoreApplication::setApplicationName(QStringLiteral("korvendal-sub"));
    const QByteArray previousCache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", "/home/someone/.cache");
    EXPECT_EQ(SoundCache::defaultFolder(), QStringLiteral("/home/someone/.cache/Korvendal/korvendal-sub/sound"));
    if (previousCache.isEmpty())
        qunsetenv("XDG_CACHE_HOME");
    else
        qputenv("XDG_CACHE_HOME", previousCache);
    QCoreApplication::setOrganizationName(previousOrg);
    QCoreApplication::setApplicationName(previousApp);
    QStandardPaths::setTestModeEnabled(true);
}

} // namespace
