#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "profile/FileState.h"
#include "profile/ProfileText.h"

namespace vexlo {

// A profile-format file on disk, with the semantics of the Windows profile
// functions the program relies on, made safe for several processes:
//  - every read sees the file as it is now; a parsed copy is reused only while
//    the file's identity (inode, size, times) proves it unchanged;
//  - every change takes an exclusive lock beside the file, reads the current
//    text, changes it and replaces the file through a temporary file in the
//    same folder, so concurrent writers lose nothing and a crash never leaves
//    a half-written file;
//  - the file name matches an entry of its folder in any letter case, so
//    "Vexlo.ini" and "vexlo.ini" are one file; the exact name wins;
//  - a change the file system refuses (in part: a full disk, a file-size
//    limit) throws VexloError "Unable to write to <full path>" and leaves the
//    file as it was; a lock held by another process for longer than the wait
//    throws a message of its own; reads never fail: a missing or unreadable
//    file reads as empty;
//  - paths are the file system's bytes, valid UTF-8 or not.
// One object serves one thread.
class ProfileFile {
public:
    explicit ProfileFile(std::string path);

    const std::string& Path() const { return path_; }
    // The file the path names now: the path itself when it is a file, else the
    // entry of its folder whose name equals the path's file name in any letter
    // case (a regular file first, then the first in byte order), else the path.
    std::string ResolvedPath() const;

    // As GetPrivateProfileString: the value cut to 2047 bytes, or `def`.
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& def) const;
    // The section's key names in file order within the 16384-byte list.
    std::vector<std::string> KeyNames(const std::string& section) const;
    // True when the section holds at least one key.
    bool SectionExists(const std::string& section) const;
    // The whole current contents.
    std::shared_ptr<const ProfileText> Read() const;

    // As WritePrivateProfileString with a value. A value longer than 2047 bytes
    // is refused with VexloError, since it could not be read back whole.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void DeleteKey(const std::string& section, const std::string& key);
    void EraseSection(const std::string& section);
    // Under the lock: reads the current text, lets `change` edit it, and writes
    // the result when `change` returns true. An exception from `change` leaves
    // the file untouched.
    void Update(const std::function<bool(ProfileText&)>& change);

    // How long a change waits while one other writer holds the lock (20 s
    // unless changed); a queue that moves is waited out whatever its length.
    void SetLockWait(std::chrono::milliseconds wait) { lockWait_ = wait; }

private:
    std::string ResolveCached() const;

    std::string path_;
    std::string folder_;
    std::string name_;
    std::chrono::milliseconds lockWait_;

    struct Cache {
        bool folderKnown = false;
        FileIdentity folderId;
        std::string resolved;
        bool textKnown = false;
        std::string textPath;
        FileIdentity textId;
        std::shared_ptr<const ProfileText> text;
        std::string bytes;  // what `text` was parsed from
    };
    mutable Cache cache_;
};

// The one-call forms, for a write beside an open ProfileFile.
std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& def);
void WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value);

}  // namespace vexlo
