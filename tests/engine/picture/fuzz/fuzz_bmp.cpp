#include "FuzzDecode.h"
#include "picture/BmpReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vexlo::fuzzing::FuzzDecode(data, size, vexlo::DecodeBmpFile);
    return 0;
}
