#include "FuzzDecode.h"
#include "picture/GifDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vexlo::fuzzing::FuzzDecode(data, size, vexlo::DecodeGifFile);
    return 0;
}
