#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
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

/// Records kept as they were read (those of kinds this program does not know), held as their
/// stored bytes back to back: tag, payload length, payload. Copies of a document share them, so
/// copying a document costs a pointer whatever it holds; a change gives the copy its own.
class KeptRecords {
public:
    KeptRecords() = default;
    KeptRecords(std::initializer_list<TrailerRecord> records);
    /// Takes the stored bytes of count records, back to back, as a trailer holds them.
    static KeptRecords FromStoredBytes(std::vector<uint8_t> bytes, size_t count);

    bool empty() const { return count_ == 0; }
    size_t size() const { return count_; }
    void clear();
    void push_back(const TrailerRecord& record);
    /// The records in order, as separate values (for tests and tools; the writer takes Bytes).
    std::vector<TrailerRecord> Records() const;
    /// Their stored bytes, back to back.
    std::span<const uint8_t> Bytes() const;

    friend bool operator==(const KeptRecords& a, const KeptRecords& b);

private:
    std::shared_ptr<const std::vector<uint8_t>> bytes_;
    size_t count_ = 0;
};

/// Appends a record as stored: tag, payload length, payload.
void AppendStoredRecord(std::vector<uint8_t>& out, RecordTag tag, std::span<const uint8_t> payload);

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
    /// Hands the payload over, leaving the writer empty.
    std::vector<uint8_t> TakeBytes() { return std::move(bytes_); }

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

    /// Refuses the payload and says why, in words for the user ("the data has 600000
    /// frequencies; ..."); the reader fails.
    void Refuse(std::string why);
    /// Why the payload was refused; empty when no reason was given.
    const std::string& Problem() const { return problem_; }

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
    std::string problem_;
};
