#pragma once

#include <QImage>
#include <QSize>
#include <string>

#include "picture/BmpHeader.h"

namespace vexlo {

// Writes the picture as a 24-bit, bottom-up, uncompressed (BI_RGB) BMP with a
// 40-byte BITMAPINFOHEADER: the variant every desktop loads. Transparent
// pixels are laid over white. The file is written beside the target and then
// renamed over it, so a reader never sees half a file and a failed save
// leaves the previous file as it was. Rows are converted and written about
// 1 MB at a time; no second copy of the picture is made (except for formats
// other than RGB32, ARGB32 and ARGB32_Premultiplied, which are converted
// first). Throws VexloError naming the path on failure.
void SaveBmpFile(const QImage& image, const std::string& path);

// True when a file with this header holds its pixels exactly as SaveBmpFile
// lays out a picture of `placed` size: the same size, a 40-byte header, one
// plane, 24 bits, BI_RGB, bottom-up, the pixels at byte 54, every row padded
// to four bytes and nothing after the last. Such a file is copied as it is
// instead of being decoded and written again. The fields no reader lays pixels
// out by (resolution, the size fields, colours used) are not compared.
bool IsWriterLayout(const BmpHeader& header, QSize placed);
// The same for the file at `path` (named by its bytes); false for a file that
// cannot be opened or is no valid BMP.
bool IsWriterLayout(const std::string& path, QSize placed);

// Copies the BMP file at `from` to `path` as it is, with SaveBmpFile's
// guarantees: written beside the target, synced and renamed over it, so a
// failure leaves the previous file. Throws VexloError "Cannot save the
// picture ..." naming the path when the write fails, and "BMP file cannot be
// read: ..." when `from` cannot be read.
void CopyBmpFile(const std::string& from, const std::string& path);

// Makes the BMP file at `from`, the caller's own and no longer needed, the file
// at `path` with the same guarantees: synced and renamed over it, or copied as
// CopyBmpFile does where it lives on another file system. Throws as CopyBmpFile.
void MoveBmpFile(const std::string& from, const std::string& path);

}  // namespace vexlo
