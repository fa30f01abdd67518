#pragma once
// What the speech detector needs to know of a film's sound, reduced while it
// is decoded: eight bytes per 10 ms, so a two-hour film's features (5.8 MB)
// are kept in the cache beside its peaks and the detector, which may be
// tuned or replaced, never has to decode the film again.

#include "sound/MonoBlock.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace korv::sound {

// One 10 ms frame. Levels are in half decibels above -120 dB of full scale,
// so 0 is digital silence; the rest in quarter decibels.
struct SpeechFrame {
    // Energy in 100-300, 300-800, 800-1600, 1600-2800 and 2800-3900 Hz.
    std::array<quint8, 5> band{};
    // How far the spectrum (300-3900 Hz) is from flat: 0 for white noise,
    // more for voices and tones.
    quint8 tonality = 0;
    // The mean rise of the spectrum over the previous frame: onsets.
    quint8 rise = 0;
    // How much the spectrum's shape changed over the last 40 ms: voices
    // keep changing, a held note or chord does not.
    quint8 change = 0;

    static constexpr double levelStep = 0.5;   // dB
    static constexpr double levelFloor = -120; // dB
    static constexpr double fineStep = 0.25;   // dB, or hundredths for `change`
    double level(int b) const { return levelFloor + band[b] * levelStep; }
};

struct SpeechFeatures {
    static constexpr int frameMs = 10;
    static constexpr int bands = 5;
    // Frame k covers [10 k, 10 k + 10) ms of the film's time line.
    std::vector<SpeechFrame> frames;

    double seconds() const { return frames.size() * frameMs / 1000.0; }

    // A cache entry: a magic word, the format version, the frame count, then
    // the frames byte for byte. A reader refuses any other version, so a
    // changed format is simply analysed again.
    static constexpr quint32 magic = 0x4B535046; // "KSPF"
    static constexpr quint16 formatVersion = 1;
    QByteArray serialise() const;
    static std::optional<SpeechFeatures> deserialise(QByteArrayView bytes);
};

// Computes the features while the sound is decoded: attach it to the same
// decode as the peaks. Blocks are placed by their timestamps; a gap is
// silence, an overlap is read once.
class SpeechFeatureSink : public MonoSink {
public:
    SpeechFeatureSink();
    ~SpeechFeatureSink() override;
    SpeechFeatureSink(const SpeechFeatureSink &) = delete;
    SpeechFeatureSink &operator=(const SpeechFeatureSink &) = delete;

    void consume(const MonoBlock &block) override;
    void finish(qint64 endUs) override;

    // The frames so far (all of them after finish()); moves them out.
    SpeechFeatures take();

private:
    struct State;
    std::unique_ptr<State> d;
};

} // namespace korv::sound
