#include "model/archive.h"

#include "model/textcodec.h"

#include <algorithm>
#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the file format is little-endian");

const char* DocumentErrorText(DocumentError e) {
    switch (e) {
    case DocumentError::UnexpectedFormat:
        return "Unexpected file format.";
    case DocumentError::FailedToOpen:
        return "Failed to open document.";
    case DocumentError::FailedToSave:
        return "Failed to save document.";
    case DocumentError::None:
        break;
    }
    return "";
}

void Archive::Fail(DocumentError e) {
    if (error_ == DocumentError::None) {
        error_ = e;
    }
}

void Archive::Fail(DocumentError e, std::string cause) {
    if (error_ == DocumentError::None) {
        error_ = e;
        cause_ = std::move(cause);
    }
}

namespace {

// Streamed input is read in pieces of this size.
constexpr size_t kPieceBytes = 64 * 1024;

} // namespace

size_t Archive::Available() const {
    const size_t inWindow = window_.size() - windowPos_;
    const uint64_t allowed = limit_ - position_;
    return inWindow < allowed ? inWindow : static_cast<size_t>(allowed);
}

void Archive::Advance(size_t n) {
    windowPos_ += n;
    position_ += n;
}

bool Archive::Fill() {
    if (Available() > 0) {
        return true;
    }
    if (source_ == nullptr || position_ >= limit_ || Failed()) {
        return false;
    }
    piece_.resize(kPieceBytes);
    const uint64_t allowed = limit_ - position_;
    const size_t want = allowed < kPieceBytes ? static_cast<size_t>(allowed) : kPieceBytes;
    const size_t got = source_->Read(piece_.data(), want);
    if (got == 0 && source_->ReadError()) {
        Fail(DocumentError::FailedToOpen);
    }
    window_ = {piece_.data(), got};
    windowPos_ = 0;
    return got > 0;
}

bool Archive::Take(void* dst, size_t n) {
    if (Failed()) {
        return false;
    }
    auto* out = static_cast<uint8_t*>(dst);
    while (n > 0) {
        if (!Fill()) {
            Fail(DocumentError::UnexpectedFormat);
            return false;
        }
        const size_t k = std::min(n, Available());
        std::memcpy(out, window_.data() + windowPos_, k);
        Advance(k);
        out += k;
        n -= k;
    }
    return true;
}

// The characters of a string, taken as they arrive: memory grows with the input actually read,
// never with the length a prefix claims.
bool Archive::TakeText(std::string& bytes, uint64_t n) {
    bytes.clear();
    while (bytes.size() < n) {
        if (!Fill()) {
            Fail(DocumentError::UnexpectedFormat);
            return false;
        }
        const size_t k = static_cast<size_t>(std::min<uint64_t>(n - bytes.size(), Available()));
        bytes.append(reinterpret_cast<const char*>(window_.data() + windowPos_), k);
        Advance(k);
    }
    return true;
}

bool Archive::AtEnd() {
    return !Fill();
}

std::optional<uint64_t> Archive::KnownRemaining() const {
    uint64_t left = window_.size() - windowPos_;
    if (source_ != nullptr) {
        const std::optional<uint64_t> more = source_->Remaining();
        if (!more) {
            return std::nullopt;
        }
        left += *more;
    }
    return std::min(left, limit_ - position_);
}

void Archive::LimitInput(uint64_t maxBytes) {
    limit_ = maxBytes < UINT64_MAX - position_ ? position_ + maxBytes : UINT64_MAX;
}

std::span<const uint8_t> Archive::TakeRest(size_t maxBytes) {
    if (source_ == nullptr) {
        const std::span<const uint8_t> rest =
            window_.subspan(windowPos_, std::min(maxBytes, Available()));
        Advance(rest.size());
        return rest;
    }
    rest_.clear();
    while (rest_.size() < maxBytes && Fill()) {
        const size_t k = std::min(maxBytes - rest_.size(), Available());
        rest_.insert(rest_.end(), window_.data() + windowPos_, window_.data() + windowPos_ + k);
        Advance(k);
    }
    return rest_;
}

void Archive::Put(const void* src, size_t n) {
    const auto* p = static_cast<const uint8_t*>(src);
    output_.insert(output_.end(), p, p + n);
}

void Archive::Io(double& v) {
    if (loading_) {
        double tmp;
        if (Take(&tmp, sizeof tmp)) {
            v = tmp;
        }
    } else {
        Put(&v, sizeof v);
    }
}

void Archive::Io(int32_t& v) {
    if (loading_) {
        int32_t tmp;
        if (Take(&tmp, sizeof tmp)) {
            v = tmp;
        }
    } else {
        Put(&v, sizeof v);
    }
}

void Archive::IoBool(bool& v) {
    if (loading_) {
        uint8_t b;
        if (Take(&b, 1)) {
            v = b != 0;
        }
    } else {
        const uint8_t b = v ? 1 : 0;
        Put(&b, 1);
    }
}

void Archive::ConstantByte(uint8_t v) {
    if (loading_) {
        Take(&v, sizeof v);
    } else {
        Put(&v, sizeof v);
    }
}

void Archive::ConstantInt32(int32_t v) {
    if (loading_) {
        Take(&v, sizeof v);
    } else {
        Put(&v, sizeof v);
    }
}

void Archive::ConstantFloat(float v) {
    if (loading_) {
        Take(&v, sizeof v);
    } else {
        Put(&v, sizeof v);
    }
}

void Archive::ConstantString(const std::string& v) {
    std::string scratch = v;
    IoString(scratch);
}

bool Archive::ReadOptional(std::vector<uint8_t>& out, size_t n) {
    if (!loading_ || Failed()) {
        return false;
    }
    // Taken piece by piece, so memory grows with the bytes present, not with n.
    const size_t start = out.size();
    while (out.size() - start < n) {
        if (!Fill()) {
            return false;
        }
        const size_t k = std::min(n - (out.size() - start), Available());
        out.insert(out.end(), window_.data() + windowPos_, window_.data() + windowPos_ + k);
        Advance(k);
    }
    return true;
}

void Archive::WriteBytes(std::span<const uint8_t> bytes) {
    Put(bytes.data(), bytes.size());
}

bool Archive::ReadLength(uint64_t& n, bool& wide) {
    wide = false;
    uint8_t b;
    if (!Take(&b, 1)) {
        return false;
    }
    if (b < 0xFF) {
        n = b;
        return true;
    }
    uint16_t w;
    if (!Take(&w, 2)) {
        return false;
    }
    if (w == 0xFFFE) {
        // A marker for 16-bit characters; the length prefix follows afresh.
        wide = true;
        if (!Take(&b, 1)) {
            return false;
        }
        if (b < 0xFF) {
            n = b;
            return true;
        }
        if (!Take(&w, 2)) {
            return false;
        }
    }
    if (w < 0xFFFF) {
        n = w;
        return true;
    }
    uint32_t d;
    if (!Take(&d, 4)) {
        return false;
    }
    if (d < 0xFFFFFFFFu) {
        n = d;
        return true;
    }
    uint64_t q;
    if (!Take(&q, 8)) {
        return false;
    }
    if (q > 0x7FFFFFFF) {
        Fail(DocumentError::FailedToOpen);
        return false;
    }
    n = q;
    return true;
}

void Archive::WriteLength(uint64_t n) {
    if (n < 0xFF) {
        const auto b = static_cast<uint8_t>(n);
        Put(&b, 1);
        return;
    }
    const uint8_t ff = 0xFF;
    Put(&ff, 1);
    if (n < 0xFFFE) {
        const auto w = static_cast<uint16_t>(n);
        Put(&w, 2);
        return;
    }
    const uint16_t wff = 0xFFFF;
    Put(&wff, 2);
    if (n < 0xFFFFFFFFu) {
        const auto d = static_cast<uint32_t>(n);
        Put(&d, 4);
        return;
    }
    const uint32_t dff = 0xFFFFFFFFu;
    Put(&dff, 4);
    Put(&n, 8);
}

void Archive::IoString(std::string& utf8) {
    if (!loading_) {
        const std::u32string text = DecodeUtf8(utf8);
        std::string single;
        if (EncodeCp1252(text, single)) {
            WriteLength(single.size());
            Put(single.data(), single.size());
        } else {
            const std::u16string units = EncodeUtf16(text);
            const uint8_t ff = 0xFF;
            const uint16_t marker = 0xFFFE;
            Put(&ff, 1);
            Put(&marker, 2);
            WriteLength(units.size());
            for (char16_t u : units) {
                const auto v = static_cast<uint16_t>(u);
                Put(&v, 2);
            }
        }
        return;
    }
    uint64_t n = 0;
    bool wide = false;
    if (!ReadLength(n, wide)) {
        return;
    }
    std::string bytes;
    if (!TakeText(bytes, wide ? n * 2 : n)) {
        return;
    }
    if (wide) {
        std::u16string units(n, u'\0');
        const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
        for (uint64_t i = 0; i < n; ++i) {
            units[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
        }
        utf8 = EncodeUtf8(DecodeUtf16(units));
    } else {
        utf8 = EncodeUtf8(DecodeCp1252(bytes));
    }
}
