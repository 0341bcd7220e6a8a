#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vexlo::fuzzing {

// Writes the input to a file of its own and runs a decoder entry point on it.
// A VexloError is an accepted outcome; anything else escapes and is reported.
void FuzzDecode(const std::uint8_t* data, std::size_t size,
                QImage (*decode)(const std::string& path));

}  // namespace vexlo::fuzzing
