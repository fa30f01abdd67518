#pragma once
// What the program tells the user, as a value: the key of the text in the
// language files' "Msg" section and the values that fill its %1, %2, ...
// Readers, writers and checks hold no wording of their own; whoever shows a
// message looks its key up in the current language, so a Turkish user never
// reads an English error and a translator finds every text in one file.
//
// A failure the system describes itself (a file that cannot be opened, a
// full disk) has no key: its one value is the system's own description.

#include <QString>
#include <QStringList>

namespace korv {

struct Message {
    QString key;
    QStringList args;
    // The file the message is about, shown on a line of its own.
    QString path;

    static Message of(const QString &key, const QStringList &args = {}, const QString &path = {})
    {
        return {key, args, path};
    }
    static Message system(const QString &description, const QString &path = {})
    {
        return {QString(), {description}, path};
    }
    bool isSystem() const { return key.isEmpty(); }
    bool operator==(const Message &) const = default;
};

// `text` with %1 to %9 replaced by `args` in one pass, so a value that itself
// holds "%2" (a subtitle line quoted in a message) stays as it is.
QString fillIn(const QString &text, const QStringList &args);

// The message's text once its key has been looked up (`text`): the values
// filled in, then the file on a line of its own.
QString messageWithText(const Message &message, const QString &text);

// Keys of the messages the document layer gives (section "Msg").
namespace msg {
inline const QString NotATimeLine = QStringLiteral("026");
inline const QString FileEndsBeforeText = QStringLiteral("027");
inline const QString LineTooLong = QStringLiteral("028");
inline const QString NoStartFrame = QStringLiteral("029");
inline const QString NoEndFrame = QStringLiteral("030");
inline const QString FrameRateUnusable = QStringLiteral("031");
inline const QString FrameNumberTooLarge = QStringLiteral("032");
inline const QString StartNotANumber = QStringLiteral("033");
inline const QString EndNotANumber = QStringLiteral("034");
inline const QString StartBeforeFilm = QStringLiteral("035");
inline const QString EndBeforeFilm = QStringLiteral("036");
inline const QString NoClockTime = QStringLiteral("037");
inline const QString NoFrameForTime = QStringLiteral("038");
inline const QString CharacterNotInCodePage = QStringLiteral("039");
inline const QString FileTooLarge = QStringLiteral("040");
inline const QString FolderNotWritable = QStringLiteral("041");
inline const QString NotARegularFile = QStringLiteral("025");
inline const QString NotASubRipTimeLine = QStringLiteral("050");
inline const QString NotAWebVttTimeLine = QStringLiteral("051");
inline const QString WebVttPartsDropped = QStringLiteral("052");
inline const QString NotAWebVttFile = QStringLiteral("053");
inline const QString ClockTimeTooLarge = QStringLiteral("054");
// What a read left out or will change, told once with the first row.
inline const QString BlankLinesLeftOut = QStringLiteral("055");
inline const QString BarsBecomeLineBreaks = QStringLiteral("056");
inline const QString SubRipPositionDropped = QStringLiteral("057");
inline const QString InvalidBytesReplaced = QStringLiteral("058");
// A time line whose times are no clock (minutes or seconds past 59, two
// digits of milliseconds).
inline const QString NoClockInTimeLine = QStringLiteral("059");

// Every key above, for the check that the language files hold them all.
QStringList documentKeys();
} // namespace msg

} // namespace korv
