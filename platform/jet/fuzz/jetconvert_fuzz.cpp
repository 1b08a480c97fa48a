// libFuzzer entry: any bytes read as a Jet database must convert or be refused with
// jet::ReadError. Anything else (a crash, another exception, a hang, a leak) is a finding.
#include "platform/jet/jetreader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        jet::ConvertBuffer(data, size, QStringLiteral(":memory:"));
    } catch (const jet::ReadError&) {
    }
    return 0;
}
