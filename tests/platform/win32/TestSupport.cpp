#include "TestSupport.h"

#include <atomic>
#include <vector>

namespace testsupport {

std::string UniqueName(const std::string& prefix) {
    static std::atomic<int> counter{0};
    return prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    path_ = std::filesystem::path(base) / Wide(UniqueName("vexlo-test"));
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

NamedEvent::NamedEvent(const std::string& name)
    : handle_(CreateEventW(nullptr, TRUE, FALSE, Wide(name).c_str())) {}

NamedEvent::~NamedEvent() {
    CloseHandle(handle_);
}

void NamedEvent::Set() {
    SetEvent(handle_);
}

bool NamedEvent::Wait(DWORD milliseconds) {
    return WaitForSingleObject(handle_, milliseconds) == WAIT_OBJECT_0;
}

ChildProcess::ChildProcess(const std::string& helper, const std::string& arguments) {
    wchar_t program[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH + 1);
    std::wstring commandLine = L"\"" + std::wstring(program, length) + L"\" --helper " +
                               Wide(helper) + L" " + Wide(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
    }
}

ChildProcess::~ChildProcess() {
    if (process_ != nullptr) {
        if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
}

std::optional<DWORD> ChildProcess::Wait(DWORD milliseconds) {
    DWORD code = 0;
    if (process_ == nullptr || WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_, &code)) {
        return std::nullopt;
    }
    return code;
}

std::optional<std::wstring> RegistryString(HKEY root, const std::wstring& key,
                                           const std::wstring& name) {
    DWORD size = 0;
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1);
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, data.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(data.data());
}

bool RegistryKeyExists(HKEY root, const std::wstring& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(opened);
    return true;
}

}  // namespace testsupport
