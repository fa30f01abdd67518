#pragma once
// Markup inside a subtitle text: tags such as <i>, </font> and WebVTT's
// <00:01.000>, and braces such as {\an8} and MicroDVD's {y:i}. The viewer
// does not see them; the reading checks do not count them and the spelling
// does not read them.

#include <QStringView>

namespace korv {

// Where markup starting at `i` ends (the index just after it), or -1 when
// the character at `i` is shown. A tag must close on its own line ("|" ends
// one), and "<" before a blank ("a < b") is text.
qsizetype markupEnd(QStringView text, qsizetype i);

} // namespace korv
