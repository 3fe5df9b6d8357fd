#include "model/trailerrecord.h"

#include <algorithm>
#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "records are little-endian");

void RecordWriter::Double(double v) {
    Raw({reinterpret_cast<const uint8_t*>(&v), sizeof v});
}

void RecordWriter::Int32(int32_t v) {
    Raw({reinterpret_cast<const uint8_t*>(&v), sizeof v});
}

void RecordWriter::UInt32(uint32_t v) {
    Raw({reinterpret_cast<const uint8_t*>(&v), sizeof v});
}

void RecordWriter::Byte(uint8_t v) {
    bytes_.push_back(v);
}

void RecordWriter::Text(const std::string& utf8) {
    UInt32(static_cast<uint32_t>(utf8.size()));
    Raw({reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size()});
}

void RecordWriter::Raw(std::span<const uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

bool RecordReader::Take(void* dst, size_t n) {
    if (!ok_ || data_.size() - pos_ < n) {
        ok_ = false;
        return false;
    }
    std::memcpy(dst, data_.data() + pos_, n);
    pos_ += n;
    return true;
}

bool RecordReader::Double(double& v) {
    return Value(v);
}

bool RecordReader::Int32(int32_t& v) {
    return Value(v);
}

bool RecordReader::UInt32(uint32_t& v) {
    return Value(v);
}

bool RecordReader::Byte(uint8_t& v) {
    return Value(v);
}

bool RecordReader::Text(std::string& utf8, size_t maxBytes) {
    uint32_t n = 0;
    if (!UInt32(n)) {
        return false;
    }
    if (n > maxBytes) {
        ok_ = false;
        return false;
    }
    const std::span<const uint8_t> bytes = Raw(n);
    if (!ok_) {
        return false;
    }
    utf8.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return true;
}

std::span<const uint8_t> RecordReader::Raw(size_t n) {
    if (!ok_ || data_.size() - pos_ < n) {
        ok_ = false;
        return {};
    }
    const std::span<const uint8_t> s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
}

void RecordReader::Refuse(std::string why) {
    ok_ = false;
    problem_ = std::move(why);
}

void AppendStoredRecord(std::vector<uint8_t>& out, RecordTag tag,
                        std::span<const uint8_t> payload) {
    const uint32_t n = static_cast<uint32_t>(payload.size());
    const auto* t = reinterpret_cast<const uint8_t*>(&tag);
    const auto* l = reinterpret_cast<const uint8_t*>(&n);
    out.insert(out.end(), t, t + sizeof tag);
    out.insert(out.end(), l, l + sizeof n);
    out.insert(out.end(), payload.begin(), payload.end());
}

KeptRecords::KeptRecords(std::initializer_list<TrailerRecord> records) {
    std::vector<uint8_t> bytes;
    for (const TrailerRecord& r : records) {
        AppendStoredRecord(bytes, r.tag, r.payload);
    }
    *this = FromStoredBytes(std::move(bytes), records.size());
}

KeptRecords KeptRecords::FromStoredBytes(std::vector<uint8_t> bytes, size_t count) {
    KeptRecords kept;
    if (count > 0) {
        kept.bytes_ = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
        kept.count_ = count;
    }
    return kept;
}

void KeptRecords::clear() {
    bytes_.reset();
    count_ = 0;
}

void KeptRecords::push_back(const TrailerRecord& record) {
    std::vector<uint8_t> bytes(Bytes().begin(), Bytes().end());
    AppendStoredRecord(bytes, record.tag, record.payload);
    *this = FromStoredBytes(std::move(bytes), count_ + 1);
}

std::vector<TrailerRecord> KeptRecords::Records() const {
    std::vector<TrailerRecord> records;
    const std::span<const uint8_t> b = Bytes();
    for (size_t pos = 0; pos + 8 <= b.size();) {
        TrailerRecord r;
        uint32_t n = 0;
        std::memcpy(&r.tag, b.data() + pos, 4);
        std::memcpy(&n, b.data() + pos + 4, 4);
        const auto from = b.begin() + static_cast<std::ptrdiff_t>(pos + 8);
        r.payload.assign(from, from + n);
        records.push_back(std::move(r));
        pos += 8 + size_t{n};
    }
    return records;
}

std::span<const uint8_t> KeptRecords::Bytes() const {
    if (bytes_ == nullptr) {
        return {};
    }
    return *bytes_;
}

bool operator==(const KeptRecords& a, const KeptRecords& b) {
    return a.count_ == b.count_ && std::ranges::equal(a.Bytes(), b.Bytes());
}
