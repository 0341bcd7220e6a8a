#include "IconHandle.h"

#include "HandleTable.h"

namespace vexlo {

namespace {
HandleTable<QIcon>& Icons() {
    static HandleTable<QIcon> table;
    return table;
}
}  // namespace

IconHandle::IconHandle(const QIcon& icon) {
    if (!icon.isNull()) {
        handle_ = Icons().Add(icon);
    }
}

IconHandle::~IconHandle() {
    Release();
}

IconHandle::IconHandle(IconHandle&& other) noexcept : handle_(other.handle_) {
    other.handle_ = 0;
}

IconHandle& IconHandle::operator=(IconHandle&& other) noexcept {
    if (this != &other) {
        Release();
        handle_ = other.handle_;
        other.handle_ = 0;
    }
    return *this;
}

void IconHandle::Release() {
    if (handle_ != 0) {
        Icons().Remove(handle_);
        handle_ = 0;
    }
}

QIcon IconHandle::Lookup(uint32_t handle) {
    const QIcon* icon = Icons().Find(handle);
    return icon ? *icon : QIcon();
}

size_t IconHandle::LiveCount() {
    return Icons().Size();
}

}  // namespace vexlo
