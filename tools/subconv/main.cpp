#include "SubConv.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const korv::SubConvOutput result = korv::runSubConv(arguments);
    std::fwrite(result.out.constData(), 1, std::size_t(result.out.size()), stdout);
    std::fwrite(result.err.constData(), 1, std::size_t(result.err.size()), stderr);
    return result.exitCode;
}
