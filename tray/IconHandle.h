#pragma once

#include <QIcon>
#include <cstdint>

namespace vexlo {

// An icon published under a 32-bit handle for the hIcon field of the notify
// record. The handle lives as long as this object; a null icon has handle 0.
// GUI thread only.
class IconHandle {
public:
    IconHandle() = default;
    explicit IconHandle(const QIcon& icon);
    ~IconHandle();
    IconHandle(IconHandle&& other) noexcept;
    IconHandle& operator=(IconHandle&& other) noexcept;
    IconHandle(const IconHandle&) = delete;
    IconHandle& operator=(const IconHandle&) = delete;

    uint32_t Value() const { return handle_; }

    // The icon behind a live handle; a null icon for 0 or a released handle.
    static QIcon Lookup(uint32_t handle);
    // How many handles are live (for leak checks in tests).
    static size_t LiveCount();

private:
    void Release();
    uint32_t handle_ = 0;
};

}  // namespace vexlo
