#pragma once

#include "model/documenttrailer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

// A mutation inside a document's trailer nearly always breaks its checksum, and the reader then
// ignores the whole trailer: the record readers behind it would hardly be reached. The harnesses
// therefore also read the input with the checksum its bytes need.

/// The input with its trailer's checksum made right, or nothing when it holds no trailer magic
/// followed by a length that fits, or the checksum is right already.
inline std::optional<std::vector<uint8_t>> WithTrailerChecksum(std::span<const uint8_t> bytes) {
    const auto at =
        std::search(bytes.begin(), bytes.end(), kTrailerMagic.begin(), kTrailerMagic.end());
    const auto start = static_cast<size_t>(at - bytes.begin());
    if (at == bytes.end() || bytes.size() - start < kTrailerHeaderSize) {
        return std::nullopt;
    }
    uint32_t length = 0;
    std::memcpy(&length, bytes.data() + start + 12, sizeof length);
    if (bytes.size() - start - kTrailerHeaderSize < size_t{length} + kTrailerCrcSize) {
        return std::nullopt;
    }
    const size_t end = start + kTrailerHeaderSize + length;
    const uint32_t crc = Crc32(bytes.subspan(start, end - start));
    uint32_t stored = 0;
    std::memcpy(&stored, bytes.data() + end, sizeof stored);
    if (crc == stored) {
        return std::nullopt;
    }
    std::vector<uint8_t> fixed(bytes.begin(), bytes.end());
    std::memcpy(fixed.data() + end, &crc, sizeof crc);
    return fixed;
}
