#include "document/SubtitleMarkup.h"

namespace korv {

qsizetype markupEnd(QStringView text, qsizetype i)
{
    if (i < 0 || i >= text.size())
        return -1;
    const QChar open = text[i];
    if (open != QLatin1Char('<') && open != QLatin1Char('{'))
        return -1;
    const QChar close = open == QLatin1Char('<') ? QLatin1Char('>') : QLatin1Char('}');
    if (open == QLatin1Char('<')) {
        // A tag begins with a name, "/" or a timestamp.
        if (i + 1 >= text.size())
            return -1;
        const QChar first = text[i + 1];
        if (!first.isLetter() && first != QLatin1Char('/') && !first.isDigit())
            return -1;
    }
    for (qsizetype k = i + 1; k < text.size(); ++k) {
        const QChar c = text[k];
        if (c == close)
            return k + 1;
        if (c == QLatin1Char('|') || c == open)
            return -1;
    }
    return -1;
}

} // namespace korv
