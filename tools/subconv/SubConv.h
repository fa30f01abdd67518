#pragma once
// korvendal-subconv: the editor's document code on the command line, for
// batch work and for checking files from outside.

#include <QByteArray>
#include <QStringList>

namespace korv {

struct SubConvOutput {
    int exitCode = 0;
    QByteArray out; // standard output, UTF-8
    QByteArray err; // standard error, UTF-8
};

// `arguments` without the program name.
SubConvOutput runSubConv(const QStringList &arguments);

} // namespace korv
