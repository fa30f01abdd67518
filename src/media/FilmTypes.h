#pragma once
// The kinds of film file the player plays, by name: for the film dialog's
// filter and for telling a dropped film from a dropped subtitle file.

#include <QString>
#include <QStringList>

namespace korv::media {

// Extensions without the dot, in lower case: avi, dat, mkv, mp4, ...
const QStringList &filmExtensions();

// Every extension as a pattern in lower and in upper case, for dialogs on
// systems whose file names tell case apart: "*.avi;*.AVI;*.dat;...".
QString filmPatterns();

// A name ending in one of the film extensions, in any case.
bool isFilmFileName(const QString &path);

} // namespace korv::media
