#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexlo::bench {

// The libraries on their own, as the floor our functions are measured
// against: decoding straight into a plain buffer of 32-bit pixels (the
// layout our decoders produce), and writing a finished 24-bit BMP held in
// memory with stdio, beside the target and renamed over it as our writer
// does, so that both pay the same file-system costs. No checks beyond what
// the libraries do.
// `eighths` < 8 decodes at that many eighths of the size (libjpeg's own
// reduced decode, which still reads every coefficient of the file).
void LibjpegDecode(const std::string& path, std::vector<std::uint8_t>& pixels, int eighths = 8);
void LibpngDecode(const std::string& path, std::vector<std::uint8_t>& pixels);
std::vector<std::uint8_t> MakeBmpBytes(const std::vector<std::uint8_t>& pixels, int width,
                                       int height);
// With `sync`, the data is flushed to the disk before the rename, as
// QSaveFile does in SaveBmpFile.
void StdioWriteFile(const std::vector<std::uint8_t>& bytes, const std::string& path, bool sync);

}  // namespace vexlo::bench
