#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

// Builds the bytes of an object list (head word and commands) or of a nested list (commands
// only) for SyntheticImage::PutObjectList and PutObjectBytes.
class ObjectListBytes {
public:
    ObjectListBytes& Head(std::uint16_t word) { return Word(word); }
    // An object command (code with low six bits 0 or 1): X, Y, flags, script, sprite layout.
    ObjectListBytes& Object(std::uint8_t code, std::uint8_t x, std::uint8_t y, std::uint8_t flags,
                            std::uint32_t script, std::uint32_t sprite) {
        bytes_.insert(bytes_.end(), {code, x, y, flags});
        return Long(script).Long(sprite);
    }
    ObjectListBytes& Call(std::uint16_t condition, std::uint16_t link) {
        bytes_.push_back(0xFA);
        return Word(condition).Word(link);
    }
    ObjectListBytes& Call2(std::uint16_t first, std::uint16_t second, std::uint16_t link) {
        bytes_.push_back(0xFA);
        return Word(first | 0x1000).Word(second).Word(link);
    }
    ObjectListBytes& PlayerSpawn(std::uint8_t x, std::uint8_t y, std::uint8_t flags,
                                 std::uint32_t script) {
        bytes_.insert(bytes_.end(), {0xFD, x, y, flags});
        return Long(script);
    }
    ObjectListBytes& Raw(std::initializer_list<std::uint8_t> bytes) {
        bytes_.insert(bytes_.end(), bytes);
        return *this;
    }
    ObjectListBytes& End() { return Raw({0xFF}); }

    ObjectListBytes& Word(std::uint16_t v) {
        return Raw({static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
    }
    ObjectListBytes& Long(std::uint32_t v) {
        return Raw({static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                    static_cast<std::uint8_t>(v >> 16)});
    }

    std::uint32_t Size() const { return static_cast<std::uint32_t>(bytes_.size()); }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    operator const std::vector<std::uint8_t>&() const { return bytes_; }
    operator std::span<const std::uint8_t>() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};
