#include "document/FrameRate.h"

#include "document/TimeText.h"


namespace korv {

QStringList frameRateChoices()
{
    QStringList choices;
    for (double rate : {23.976, 24.0, 25.0, 29.97, 30.0})
        choices << SecondsToText(rate);
    return choices;
}

QString frameRateProposal(double filmFrameRate)
{
    return filmFrameRate != 0 ? SecondsToText(filmFrameRate) : QStringLiteral("25");
}

std::optional<double> readFrameRate(const QString &text)
{
    const auto rate = TextToNumberWithoutGroups(text);
    if (!rate || !(*rate >= kLowestFrameRate && *rate <= kHighestFrameRate))
        return std::nullopt;
    return rate;
}

} // namespace korv
