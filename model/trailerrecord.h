#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

/// The tag of a trailer record: four ASCII characters, stored in the file in this order.
using RecordTag = uint32_t;

constexpr RecordTag MakeRecordTag(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

/// One record of the document trailer as stored: its tag and its payload bytes.
struct TrailerRecord {
    RecordTag tag = 0;
    std::vector<uint8_t> payload;

    friend bool operator==(const TrailerRecord&, const TrailerRecord&) = default;
};

/// Builds a record payload: little-endian values, texts as a 32-bit byte count and UTF-8.
class RecordWriter {
public:
    void Double(double v);
    void Int32(int32_t v);
    void UInt32(uint32_t v);
    void Byte(uint8_t v);
    void Text(const std::string& utf8);
    void Raw(std::span<const uint8_t> bytes);

    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

/// Reads a record payload in the writer's encoding. Every read checks the bytes left: a read
/// past the end returns false, leaves its value alone and makes Ok() false for good.
class RecordReader {
public:
    explicit RecordReader(std::span<const uint8_t> payload) : data_(payload) {}

    bool Double(double& v);
    bool Int32(int32_t& v);
    bool UInt32(uint32_t& v);
    bool Byte(uint8_t& v);
    /// A text of at most maxBytes bytes; a longer one fails the reader.
    bool Text(std::string& utf8, size_t maxBytes);
    /// The next n bytes, or an empty span and a failed reader when fewer remain.
    std::span<const uint8_t> Raw(size_t n);

    size_t Remaining() const { return ok_ ? data_.size() - pos_ : 0; }
    bool Ok() const { return ok_; }

private:
    bool Take(void* dst, size_t n);
    // Reads into a temporary first, so a failed read leaves v alone.
    template <class T> bool Value(T& v) {
        T t;
        if (!Take(&t, sizeof t)) {
            return false;
        }
        v = t;
        return true;
    }

    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    bool ok_ = true;
};
