#pragma once

#include <string>

namespace vexlo {

// True for an existing file that holds a whole picture as far as its header
// tells: a decoder accepts the header, and an uncompressed BMP is as long as
// its header says. A desktop handed anything else would show a blank or half
// a picture.
bool IsWholePicture(const std::string& path);

}  // namespace vexlo
