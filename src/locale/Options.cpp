#include "locale/Options.h"

#include "locale/Registry.h"

namespace korv {

QString optionValueName(int index)
{
    return QStringLiteral("check1IND%1").arg(index);
}

StoredOptions loadStoredOptions()
{
    StoredOptions options;
    for (int i = 0; i < kOptionCount; ++i) {
        bool ok = false;
        const int state = GetRegSetting(optionValueName(i)).trimmed().toInt(&ok);
        options.flags[std::size_t(i)] = ok && state == 1;
    }
    const QString seconds = GetRegSetting(QStringLiteral("text1"));
    options.seconds = seconds.isEmpty() ? kDefaultOptionSeconds : seconds;
    return options;
}

void storeOptionFlag(int index, bool on)
{
    if (index < 0 || index >= kOptionCount)
        return;
    SaveRegSetting(optionValueName(index), on ? QStringLiteral("1") : QStringLiteral("0"));
}

void storeOptionSeconds(const QString &seconds)
{
    SaveRegSetting(QStringLiteral("text1"), seconds);
}

VoiceOptions loadVoiceOptions()
{
    VoiceOptions options;
    bool ok = false;
    const int snap = GetRegSetting(QStringLiteral("sesOturt")).trimmed().toInt(&ok);
    if (ok)
        options.snapCaptures = snap != 0;
    const int gap = GetRegSetting(QStringLiteral("sesAraKare")).trimmed().toInt(&ok);
    if (ok && gap >= 0 && gap <= 1000)
        options.minGapFrames = gap;
    // Stored with ".", whatever the user's number format.
    const double shortest = GetRegSetting(QStringLiteral("sesEnKisa")).trimmed().toDouble(&ok);
    if (ok && shortest >= 0 && shortest <= 60)
        options.minDuration = shortest;
    return options;
}

void storeVoiceSnap(bool on)
{
    SaveRegSetting(QStringLiteral("sesOturt"), on ? QStringLiteral("1") : QStringLiteral("0"));
}

void storeVoiceLimits(int minGapFrames, double minDuration)
{
    SaveRegSetting(QStringLiteral("sesAraKare"), QString::number(minGapFrames));
    SaveRegSetting(QStringLiteral("sesEnKisa"), QString::number(minDuration, 'g', 15));
}

} // namespace korv
