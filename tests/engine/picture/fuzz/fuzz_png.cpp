#include "FuzzDecode.h"
#include "picture/PngDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vexlo::fuzzing::FuzzDecode(data, size, vexlo::DecodePngFile);
    return 0;
}
