#pragma once
// The program's readers of outside bytes, each driven by one input the way
// the editor meets it, with the properties that must hold for any input.
//
// Each returns an empty text when all held, or what broke. The fuzzers stop
// on a broken property; the regression test runs every kept input through
// the same functions in the ordinary build.
#include <QByteArrayView>
#include <QString>

namespace korv::fuzz {

// Format detection and the text decoding in front of every reader.
QString detection(QByteArrayView bytes);
// A SubViewer 2 file read; what was read, written again, reads back the same.
QString subViewer(QByteArrayView bytes);
// A MicroDVD file read at several frame rates; at 25 fps a document written
// and read back gives the same rows.
QString microDvd(QByteArrayView bytes);
// A SubRip file read; what was read, written again, reads back the same, and
// the written text survives its UTF-8 bytes.
QString subRip(QByteArrayView bytes);
// The same for a WebVTT file.
QString webVtt(QByteArrayView bytes);
// A language file: the values the program asks for.
QString languageFile(QByteArrayView bytes);
// An AVI film's headers and the film panel's rows made from them.
QString aviHeaders(QByteArrayView bytes);

} // namespace korv::fuzz
