#pragma once
// korvendal-subconv: the editor's document code on the command line, for
// batch work and for checking files from outside.

#include "document/Result.h"

#include <QByteArray>
#include <QStringList>

#include <functional>

namespace korv {

struct SubConvOutput {
    int exitCode = 0;
    QByteArray out; // standard output, UTF-8
    QByteArray err; // standard error, UTF-8
};

// Reads standard input whole, for a file named "-"; only called when one is.
using StandardInput = std::function<Result<QByteArray>()>;

// `arguments` without the program name. The program writes `out` and `err`
// and ends with `exitCode`: 0 done, 1 a file or check failure, 2 a usage
// error.
SubConvOutput runSubConv(const QStringList &arguments, const StandardInput &standardInput = {});

} // namespace korv
