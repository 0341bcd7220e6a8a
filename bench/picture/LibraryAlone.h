#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexlo::bench {

// The libraries on their own, as the floor our functions are measured
// against: decoding straight into a plain buffer of 32-bit pixels (the
// layout our decoders produce), and writing a 24-bit BMP from such a buffer
// with stdio. No checks beyond what the libraries do.
void LibjpegDecode(const std::string& path, std::vector<std::uint8_t>& pixels);
void LibpngDecode(const std::string& path, std::vector<std::uint8_t>& pixels);
void StdioWriteBmp(const std::vector<std::uint8_t>& pixels, int width, int height,
                   const std::string& path);

}  // namespace vexlo::bench
