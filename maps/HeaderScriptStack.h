#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// A last-in-first-out stack of header-script positions with the game's nine entries.
// A push onto a full stack is refused, so a script that nests too deep is stopped instead of
// overrunning the stack.
class HeaderScriptStack {
public:
    static constexpr std::size_t kCapacity = 9;

    bool Push(std::uint32_t position) {
        if (count_ == kCapacity) {
            return false;
        }
        entries_[count_++] = position;
        return true;
    }

    std::optional<std::uint32_t> Pop() {
        if (count_ == 0) {
            return std::nullopt;
        }
        return entries_[--count_];
    }

    bool Empty() const { return count_ == 0; }
    std::size_t Size() const { return count_; }
    void Clear() { count_ = 0; }
    // The positions on the stack, the bottom one first.
    std::span<const std::uint32_t> Entries() const { return {entries_.data(), count_}; }

private:
    std::array<std::uint32_t, kCapacity> entries_{};
    std::size_t count_ = 0;
};
