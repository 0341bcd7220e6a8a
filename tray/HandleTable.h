#pragma once

#include <cstdint>
#include <unordered_map>
#include <utility>

namespace vexlo {

// Hands out 32-bit handles for values, as the Windows shell knows windows and
// icons by handle. 0 is never a handle, and a released handle is not given
// out again until the counter has gone all the way round.
template <typename T>
class HandleTable {
public:
    uint32_t Add(T value) {
        do {
            ++last_;
        } while (last_ == 0 || items_.count(last_) != 0);
        items_.emplace(last_, std::move(value));
        return last_;
    }

    void Remove(uint32_t handle) { items_.erase(handle); }

    // The value of a live handle, or nullptr.
    T* Find(uint32_t handle) {
        auto it = items_.find(handle);
        return it == items_.end() ? nullptr : &it->second;
    }

    size_t Size() const { return items_.size(); }

private:
    std::unordered_map<uint32_t, T> items_;
    uint32_t last_ = 0;
};

}  // namespace vexlo
