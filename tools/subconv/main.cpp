#include "SubConv.h"

#include "document/FileIO.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

korv::Result<QByteArray> readStandardInput()
{
    const QString name = QStringLiteral("standard input");
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return korv::Failure{korv::Message::system(in.errorString(), name)};
    return korv::readAllOf(in, name);
}

// Why the bytes did not all reach the stream (a full disk), or 0: a listing
// cut short must not end as done.
int writeAll(const QByteArray &bytes, std::FILE *stream)
{
    errno = 0;
    const std::size_t size = std::size_t(bytes.size());
    if (std::fwrite(bytes.constData(), 1, size, stream) != size || std::fflush(stream) != 0)
        return errno ? errno : EIO;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
#ifdef SIGXFSZ
    // Past a file-size limit a save must fail with its reason, not end the
    // program and the unsaved work with it.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    korv::SubConvOutput result = korv::runSubConv(arguments, readStandardInput);
    if (const int error = writeAll(result.out, stdout)) {
        result.err += "korvendal-subconv: standard output: " + QByteArray(std::strerror(error)) + '\n';
        if (result.exitCode == 0)
            result.exitCode = 1;
    }
    writeAll(result.err, stderr);
    return result.exitCode;
}
