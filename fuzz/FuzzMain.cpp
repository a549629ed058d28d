// One libFuzzer target; TINTORA_FUZZ_TARGET names the check that it runs.
#include "fuzz/FuzzChecks.h"

#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzzchecks::Check check =
        fuzzchecks::CheckNamed(QStringLiteral(TINTORA_FUZZ_TARGET));
    // One scratch folder for the whole run: the checks empty it themselves.
    static const QTemporaryDir scratch;
    if (!check || !scratch.isValid())
        std::abort();
    check(scratch.path(),
          QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
