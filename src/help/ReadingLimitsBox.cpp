#include "help/ReadingLimitsBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace korv {

namespace {

const char *const kCaptions[ReadingLimitsBox::kCount] = {
    "Saniyede en çok karakter:",
    "Bir satırda en çok karakter:",
    "En çok satır:",
    "En kısa süre (saniye):",
    "En uzun süre (saniye):",
    "Sonrakiyle en az ara (kare):",
    "Kare hızı yokken en az ara (ms):",
};

// Which fields take whole numbers only.
constexpr bool kWhole[ReadingLimitsBox::kCount] = {false, true, true, false, false, true, true};

} // namespace

ReadingLimitsBox::ReadingLimitsBox(NumberFormat numbers, QWidget *parent)
    : QGroupBox(QStringLiteral("OKUNABİLİRLİK SINIRLARI (0: kural kapalı)"), parent), numbers_(numbers)
{
    setObjectName(QStringLiteral("FrameOkunabilirlik"));
    auto *grid = new QGridLayout(this);
    for (int i = 0; i < kCount; ++i) {
        Label2[std::size_t(i)] = new QLabel(QString::fromUtf8(kCaptions[i]), this);
        Label2[std::size_t(i)]->setObjectName(QStringLiteral("Label2(%1)").arg(i));
        TxtSinir[std::size_t(i)] = new QLineEdit(this);
        TxtSinir[std::size_t(i)]->setObjectName(QStringLiteral("TxtSinir(%1)").arg(i));
        TxtSinir[std::size_t(i)]->setFixedWidth(60);
        Label2[std::size_t(i)]->setBuddy(TxtSinir[std::size_t(i)]);
        // Two columns of label and field.
        const int row = i % 4, column = (i / 4) * 2;
        grid->addWidget(Label2[std::size_t(i)], row, column);
        grid->addWidget(TxtSinir[std::size_t(i)], row, column + 1);
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
}

void ReadingLimitsBox::setProfile(const ReadingProfile &p)
{
    const double values[kCount] = {p.maxCps,      double(p.maxLineLength), double(p.maxLines),   p.minDuration,
                                   p.maxDuration, double(p.minGapFrames),  double(p.minGapMs)};
    for (int i = 0; i < kCount; ++i)
        TxtSinir[std::size_t(i)]->setText(SecondsToText(values[i], numbers_));
}

std::optional<ReadingProfile> ReadingLimitsBox::profile(int *badField) const
{
    double values[kCount];
    for (int i = 0; i < kCount; ++i) {
        const auto value = TextToNumberWithoutGroups(TxtSinir[std::size_t(i)]->text(), numbers_);
        const bool fits = value && std::isfinite(*value) && *value >= 0 && *value < 100000
            && (!kWhole[i] || *value == std::floor(*value));
        if (!fits) {
            if (badField)
                *badField = i;
            return std::nullopt;
        }
        values[i] = *value;
    }
    ReadingProfile p;
    p.maxCps = values[0];
    p.maxLineLength = int(values[1]);
    p.maxLines = int(values[2]);
    p.minDuration = values[3];
    p.maxDuration = values[4];
    p.minGapFrames = int(values[5]);
    p.minGapMs = int(values[6]);
    return p;
}

} // namespace korv
