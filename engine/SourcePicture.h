#pragma once

#include <QImage>
#include <exception>
#include <future>
#include <optional>
#include <string>

#include "PictureKinds.h"

namespace vexlo {

// The apply's own copy of the picture, "tmp" + a part unique to this process
// and call + the source's extension, so that two instances applying at once
// never read or delete each other's copy. Deleted when the apply ends,
// however it ends. A copy that fails part-way (a full disk, an I/O error, a
// quota) is deleted at once: the apply then ends as for a missing picture.
class TemporaryCopy {
public:
    TemporaryCopy(const std::string& source, const std::string& folder);
    ~TemporaryCopy();
    TemporaryCopy(TemporaryCopy&& other) noexcept;
    TemporaryCopy& operator=(TemporaryCopy&&) = delete;
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    const std::string& Path() const { return path_; }
    bool Exists() const;

private:
    std::string path_;
};

// A picture about to be shown, read as every apply reads it: the apply's own
// copy, the kind its name gives, and the copy decoded, or the decoder's error
// (kept to be raised where the apply runs). No kind and no picture when the
// copy could not be made; no picture for an unknown kind.
struct SourcePicture {
    TemporaryCopy copy;
    PictureKind kind = PictureKind::Unknown;
    QImage bitmap{};
    std::exception_ptr error{};
};
SourcePicture ReadSourcePicture(const std::string& source, const std::string& folder);

// The picture of an "apply FILE" start, read on a thread of its own while the
// rest of the program starts (Qt connecting to the display takes about as long
// as decoding a large photo). The apply takes it when it shows that same file
// into that same folder; one never taken is deleted with this object, which
// waits for the thread.
class DecodeAhead {
public:
    DecodeAhead(std::string source, std::string folder);
    ~DecodeAhead();
    DecodeAhead(const DecodeAhead&) = delete;
    DecodeAhead& operator=(const DecodeAhead&) = delete;

    // The picture read for exactly `source` into `folder`, once; nothing for
    // any other.
    std::optional<SourcePicture> Take(const std::string& source, const std::string& folder);
    // The program folder the copy is made in.
    const std::string& Folder() const { return folder_; }

private:
    std::string source_;
    std::string folder_;
    std::future<SourcePicture> reading_;
};

}  // namespace vexlo
