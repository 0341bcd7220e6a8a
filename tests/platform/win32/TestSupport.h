#pragma once

// Helpers shared by the Windows backend's tests: unique names, child
// processes of this program, events, a message pump and an independent
// registry reader.

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace testsupport {

// A name that no other test or process uses: prefix, process id, counter.
std::string UniqueName(const std::string& prefix);
std::wstring Wide(const std::string& ascii);

// A key of the test's own under HKCU\Software, removed with its whole tree
// (by the API directly, not by the code under test) at the end.
struct TestKey {
    std::string path = "Software\\VexloTests\\" + UniqueName("key");
    std::wstring wide = Wide(path);
    TestKey() = default;
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;
    ~TestKey() { RegDeleteTreeW(HKEY_CURRENT_USER, wide.c_str()); }
};

// Dispatches every waiting message of this thread.
void PumpMessages();

// A folder of its own under the temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A manual-reset event shared with a child process by name.
class NamedEvent {
public:
    explicit NamedEvent(const std::string& name);
    ~NamedEvent();
    NamedEvent(const NamedEvent&) = delete;
    NamedEvent& operator=(const NamedEvent&) = delete;
    void Set();
    // False when `milliseconds` pass first.
    bool Wait(DWORD milliseconds);
    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_;
};

// This program started again as "--helper NAME ARGS"; killed if still running at the end.
class ChildProcess {
public:
    ChildProcess(const std::string& helper, const std::string& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    bool started() const { return process_ != nullptr; }
    // The exit code, or nothing when it did not end within `milliseconds`.
    std::optional<DWORD> Wait(DWORD milliseconds);

private:
    HANDLE process_ = nullptr;
};

// Read straight from the registry, not through the backend.
std::optional<std::wstring> RegistryString(HKEY root, const std::wstring& key,
                                           const std::wstring& name);
bool RegistryKeyExists(HKEY root, const std::wstring& key);

}  // namespace testsupport
