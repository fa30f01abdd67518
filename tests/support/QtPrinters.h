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
} // namespace korv

namespace korv::test {
// A text result as a test compares it: the text, or "error: " and why not.
inline QString textOf(const Result<QString> &r)
{
    return r ? *r : QStringLiteral("error: ") + r.error();
}
} // namespace korv::test
