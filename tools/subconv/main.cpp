#include "SubConv.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

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
    const korv::SubConvOutput result = korv::runSubConv(arguments);
    std::fwrite(result.out.constData(), 1, std::size_t(result.out.size()), stdout);
    std::fwrite(result.err.constData(), 1, std::size_t(result.err.size()), stderr);
    return result.exitCode;
}
