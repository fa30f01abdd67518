#pragma once
// What the film information panel shows of a film described by the media
// library (any container but AVI, whose own headers are read instead): the
// four labels and the rows of the information list, each a name and a value.

#include "document/Message.h"
#include "document/TimeText.h"
#include "media/AviInfo.h"
#include "media/FilmDescription.h"

#include <functional>

namespace korv::media {

// The text of a message in the reader's language: the window's current
// language, or English for the converter.
using TextOf = std::function<QString(const Message &)>;

// Fills `info` (labels and rows, in this order: container, video codec,
// resolution, frame rate, total frames, duration, one row per audio track);
// returns the film's frame rate (the average for a variable one), 0 without
// a picture. Numbers are written in `nf`.
double SummarizeFilm(const FilmDescription &film, const NumberFormat &nf, const TextOf &text, FilmInformation &info);

// One audio track as the rows and the track menu show it:
// "AAC, channels: 2, 48000 Hz, tur (Turkish)".
QString audioTrackText(const AudioTrack &track, const TextOf &text);

// A rate to three decimals, as the film's length is shown ("23,976", "25").
QString rateDecimal(double rate, const NumberFormat &nf);

// A rate as the information rows show it, with its exact fraction when it
// is not a whole number: "23,976 (24000/1001)". The MicroDVD window is
// still proposed the rate in full.
QString rateText(Rational rate, const NumberFormat &nf);

} // namespace korv::media
