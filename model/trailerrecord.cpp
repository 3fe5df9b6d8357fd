#include "model/trailerrecord.h"

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
