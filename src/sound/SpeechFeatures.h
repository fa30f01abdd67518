#pragma once
// What the speech detector needs to know of a film's sound, reduced while it
// is decoded: seven bytes per 10 ms, so a two-hour film's features (5 MB)
// are kept in the cache beside its peaks and the detector, which may be
// tuned or replaced, never has to decode the film again.

#include "sound/CachedSink.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace korv::sound {

// One 10 ms frame: the energy in 100-300, 300-800, 800-1600, 1600-2800 and
// 2800-3900 Hz, in half decibels above -120 dB of full scale (0 is digital
// silence). Bands, not a finer spectrum: what tells a voice from its
// background here is how each band rises and falls against its own
// surroundings, and a few bytes keep a film's features small.
// And how periodic the sound below 900 Hz is over the 32 ms around every
// other frame (the frame between takes the mean of the two), for periods
// of 2.5-12.5 ms (a voice's pitch): a voiced syllable repeats itself,
// noise, a hit or a hi-hat does not, whatever its level.
struct SpeechFrame {
    std::array<quint8, 5> band{};
    quint8 voicing = 0; // the autocorrelation's peak over those periods, 0-1 in steps of 1/200
    quint8 period = 0;  // where that peak lies, in tenths of a millisecond (0: no sound)

    static constexpr double levelStep = 0.5;   // dB
    static constexpr double levelFloor = -120; // dB
    static constexpr double voicingStep = 1.0 / 200;
    double level(int b) const { return levelFloor + band[b] * levelStep; }
    double voiced() const { return voicing * voicingStep; }
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
    static constexpr quint16 formatVersion = 4;
    QByteArray serialise() const;
    static std::optional<SpeechFeatures> deserialise(QByteArrayView bytes);
};

// Computes the features while the sound is decoded: attach it to the same
// decode as the peaks (SoundAnalysis's extra sinks). Blocks are placed by
// their timestamps; a gap is silence, an overlap is read once. As a
// CachedSink it is kept in the film's cache entry ("SPCH", the format's
// version) and restored from there when the film is opened again.
class SpeechFeatureSink : public CachedSink {
public:
    SpeechFeatureSink();
    ~SpeechFeatureSink() override;
    SpeechFeatureSink(const SpeechFeatureSink &) = delete;
    SpeechFeatureSink &operator=(const SpeechFeatureSink &) = delete;

    void consume(const MonoBlock &block) override;
    void finish(qint64 endUs) override;

    quint32 sectionTag() const override;
    quint32 sectionVersion() const override { return SpeechFeatures::formatVersion; }
    bool restore(const QByteArray &bytes) override;
    QByteArray save() const override { return features().serialise(); }

    // The frames so far: all of them once the analysis has ended.
    const SpeechFeatures &features() const;
    // Moves them out (the sink is then empty).
    SpeechFeatures take();

private:
    struct State;
    std::unique_ptr<State> d;
};

} // namespace korv::sound
