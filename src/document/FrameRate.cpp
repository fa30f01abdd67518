#include "document/FrameRate.h"

#include "document/TimeText.h"


namespace korv {

QStringList frameRateChoices(const NumberFormat &nf)
{
    QStringList choices;
    for (double rate : {23.976, 24.0, 25.0, 29.97, 30.0})
        choices << SecondsToText(rate, nf);
    return choices;
}

QString frameRateProposal(double filmFrameRate, const NumberFormat &nf)
{
    return filmFrameRate != 0 ? SecondsToText(filmFrameRate, nf) : QStringLiteral("25");
}

std::optional<double> readFrameRate(const QString &text, const NumberFormat &nf)
{
    const auto rate = TextToNumberWithoutGroups(text, nf);
    if (!rate || !(*rate >= kLowestFrameRate && *rate <= kHighestFrameRate))
        return std::nullopt;
    return rate;
}

} // namespace korv
