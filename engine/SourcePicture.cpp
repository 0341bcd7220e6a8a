#include "SourcePicture.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <system_error>

#include "PathRules.h"
#include "PictureDecoding.h"

namespace vexlo {

TemporaryCopy::TemporaryCopy(const std::string& source, const std::string& folder) {
    static std::atomic<unsigned> counter{0};
    path_ = folder + "tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
            ExtractFileExt(source);
    std::error_code ec;
    // copy_file copies inside the kernel; QFile::copy goes through a synced
    // file of its own, twice the cost for a large picture.
    const bool copied = std::filesystem::copy_file(source, path_, ec) && !ec;
    const auto copiedSize = std::filesystem::file_size(path_, ec);
    if (!copied || ec || copiedSize != std::filesystem::file_size(source, ec) || ec) {
        std::filesystem::remove(path_, ec);
    }
}

TemporaryCopy::~TemporaryCopy() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
}

TemporaryCopy::TemporaryCopy(TemporaryCopy&& other) noexcept : path_(std::move(other.path_)) {
    other.path_.clear();
}

bool TemporaryCopy::Exists() const {
    std::error_code ignored;
    return !path_.empty() && std::filesystem::is_regular_file(path_, ignored);
}

SourcePicture ReadSourcePicture(const std::string& source, const std::string& folder) {
    SourcePicture read{TemporaryCopy(source, folder)};
    if (!read.copy.Exists()) {
        return read;
    }
    read.kind = PictureKindOf(read.copy.Path());
    if (read.kind != PictureKind::Unknown) {
        try {
            read.bitmap = DecodePicture(read.kind, read.copy.Path(), source);
        } catch (...) {
            read.error = std::current_exception();
        }
    }
    return read;
}

DecodeAhead::DecodeAhead(std::string source, std::string folder)
    : source_(std::move(source)), folder_(std::move(folder)) {
    reading_ = std::async(std::launch::async, [source = source_, folder = folder_] {
        return ReadSourcePicture(source, folder);
    });
}

DecodeAhead::~DecodeAhead() {
    if (reading_.valid()) {
        reading_.wait();  // the copy goes with the result
    }
}

std::optional<SourcePicture> DecodeAhead::Take(const std::string& source,
                                               const std::string& folder) {
    if (!reading_.valid() || source != source_ || folder != folder_) {
        return std::nullopt;
    }
    return reading_.get();
}

}  // namespace vexlo
