// The libFuzzer entry of one fuzzer; KORV_FUZZ_TARGET names its function.
#include "FuzzTargets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, std::size_t size)
{
    const QString broken = KORV_FUZZ_TARGET(QByteArrayView(data, qsizetype(size)));
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "property broken: %s\n", broken.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}
