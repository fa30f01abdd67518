#pragma once
// Readable failure messages for Qt's strings and the document's rows.

#include "document/Result.h"
#include "document/SubtitleList.h"

#include <QStringList>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray &bytes, std::ostream *os)
{
    *os << '"' << bytes.toStdString() << '"';
}

inline void PrintTo(const QStringList &list, std::ostream *os)
{
    if (list.isEmpty())
        *os << "{}";
    else
        *os << "{\"" << list.join(QStringLiteral("\", \"")).toStdString() << "\"}";
}

namespace korv {
inline void PrintTo(const SubtitleEntry &e, std::ostream *os)
{
    ::PrintTo(QStringList{e.number, e.start, e.end, e.text}, os);
}
// A message as key and values: "032 {"2"}".
inline QString describe(const Message &m)
{
    return (m.isSystem() ? QStringLiteral("system") : m.key) + QStringLiteral(" {") + m.args.join(QStringLiteral(", "))
        + QLatin1Char('}') + (m.path.isEmpty() ? QString() : QStringLiteral(" ") + m.path);
}
inline void PrintTo(const Message &m, std::ostream *os)
{
    *os << describe(m).toStdString();
}
} // namespace korv

namespace korv::test {
// A text result as a test compares it: the text, or "error: " and the message.
inline QString textOf(const Result<QString> &r)
{
    return r ? *r : QStringLiteral("error: ") + describe(r.error());
}
inline QString textOf(const std::optional<QString> &r)
{
    return r ? *r : QStringLiteral("error");
}
} // namespace korv::test
