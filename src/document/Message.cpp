#include "document/Message.h"

namespace korv {

QString fillIn(const QString &text, const QStringList &args)
{
    QString out;
    out.reserve(text.size() + 32);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('%') && i + 1 < text.size() && text[i + 1] >= QLatin1Char('1')
            && text[i + 1] <= QLatin1Char('9')) {
            const qsizetype n = text[i + 1].unicode() - '1';
            if (n < args.size()) {
                out += args[n];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString messageWithText(const Message &message, const QString &text)
{
    QString out = message.isSystem() ? message.args.value(0) : fillIn(text, message.args);
    if (!message.path.isEmpty())
        out += QStringLiteral("\r\n") + message.path;
    return out;
}

namespace msg {

QStringList documentKeys()
{
    return {NotARegularFile, NotATimeLine, FileEndsBeforeText, LineTooLong, NoStartFrame, NoEndFrame,
            FrameRateUnusable, FrameNumberTooLarge, StartNotANumber, EndNotANumber, StartBeforeFilm,
            EndBeforeFilm, NoClockTime, NoFrameForTime, CharacterNotInCodePage, FileTooLarge, FolderNotWritable,
            NotASubRipTimeLine, NotAWebVttTimeLine, WebVttPartsDropped, NotAWebVttFile, ClockTimeTooLarge,
            BlankLinesLeftOut, BarsBecomeLineBreaks, SubRipPositionDropped, InvalidBytesReplaced, NoClockInTimeLine};
}

} // namespace msg
} // namespace korv
