#include "locale/ReadingProfileStore.h"

#include "locale/Registry.h"

namespace korv {

namespace {

template <typename T>
void read(const char *name, T &value)
{
    bool ok = false;
    const double stored = GetRegSetting(QLatin1String(name)).trimmed().toDouble(&ok);
    // A limit is never negative; 0 turns its rule off.
    if (ok && stored >= 0 && stored < 1e6)
        value = T(stored);
}

void write(const char *name, double value)
{
    SaveRegSetting(QLatin1String(name), QString::number(value, 'g', 10));
}

} // namespace

ReadingProfile loadReadingProfile()
{
    ReadingProfile p;
    read("cps", p.maxCps);
    read("linelength", p.maxLineLength);
    read("lines", p.maxLines);
    read("minduration", p.minDuration);
    read("maxduration", p.maxDuration);
    read("gapframes", p.minGapFrames);
    read("gapms", p.minGapMs);
    return p;
}

void storeReadingProfile(const ReadingProfile &p)
{
    write("cps", p.maxCps);
    write("linelength", p.maxLineLength);
    write("lines", p.maxLines);
    write("minduration", p.minDuration);
    write("maxduration", p.maxDuration);
    write("gapframes", p.minGapFrames);
    write("gapms", p.minGapMs);
}

} // namespace korv
