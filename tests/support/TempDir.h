#pragma once

#include <string>

#include "FileHelpers.h"

namespace vexlo::test {

// A fresh folder under the system's temporary folder, removed with all its
// contents when the object ends.
class TempDir {
public:
    // Under `parent`, or the system's temporary folder when it is empty.
    explicit TempDir(const std::string& parent = "");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path() + "/" + name, with the folders on the way made.
    std::string Sub(const std::string& name) const;
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace vexlo::test
