// A 32-bit value that one thread writes and another reads while an operation
// runs (the progress percentage, the escape flag). Loads and stores are relaxed
// atomics: each reader sees some value a writer stored, with no ordering
// promise about other memory, which is all a progress bar and a stop request
// need. It copies like a plain int so the information block stays a value.
#pragma once

#include <atomic>
#include <cstdint>

namespace vimg {

class RelaxedInt {
public:
    RelaxedInt(int32_t value = 0) noexcept : m_value(value) {}
    RelaxedInt(const RelaxedInt& other) noexcept : m_value(other.Load()) {}
    RelaxedInt& operator=(const RelaxedInt& other) noexcept {
        Store(other.Load());
        return *this;
    }
    RelaxedInt& operator=(int32_t value) noexcept {
        Store(value);
        return *this;
    }
    operator int32_t() const noexcept { return Load(); }

    int32_t Load() const noexcept { return m_value.load(std::memory_order_relaxed); }
    void Store(int32_t value) noexcept { m_value.store(value, std::memory_order_relaxed); }

private:
    std::atomic<int32_t> m_value;
};

} // namespace vimg
