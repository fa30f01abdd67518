#pragma once
// Keys of section "Msg" for what the film's description tells: its failures
// and the names and values of the information rows. The window looks them
// up in the current language; the converter has them in English.

#include <QString>
#include <QStringList>

namespace korv::msg {

inline const QString FilmCannotBeRead = QStringLiteral("100");   // the media library's reason
inline const QString FilmHoldsNothing = QStringLiteral("101");   // neither picture nor sound
inline const QString FilmHasNoPicture = QStringLiteral("102");   // sound only
inline const QString FilmEndsEarly = QStringLiteral("103");      // cut short: where, and the header's length
// FFmpeg's module cannot be loaded (%1: the file, or the library it lacks):
// no film is described and no sound analysed.
inline const QString FilmLibraryMissing = QStringLiteral("274");

// Names of the information rows.
inline const QString RowContainer = QStringLiteral("104");
inline const QString RowVideoCodec = QStringLiteral("105");
inline const QString RowResolution = QStringLiteral("106");
inline const QString RowFrameRate = QStringLiteral("107");
inline const QString RowTotalFrames = QStringLiteral("108");
inline const QString RowDuration = QStringLiteral("109");
inline const QString RowAudioTrack = QStringLiteral("110");      // %1: the track's number from 1

// Values that need words.
inline const QString VariableRate = QStringLiteral("111");       // %1: the average rate
inline const QString AudioTrackValue = QStringLiteral("112");    // codec, channels, sample rate
inline const QString AboutFrames = QStringLiteral("113");        // a frame count worked out, not counted

inline QStringList mediaKeys()
{
    return {FilmCannotBeRead, FilmHoldsNothing, FilmHasNoPicture, FilmEndsEarly,  RowContainer,
            RowVideoCodec,    RowResolution,    RowFrameRate,     RowTotalFrames, RowDuration,
            RowAudioTrack,    VariableRate,     AudioTrackValue,  AboutFrames,    FilmLibraryMissing};
}

} // namespace korv::msg
