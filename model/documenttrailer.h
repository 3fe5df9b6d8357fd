#pragma once

#include "model/trailerrecord.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class Archive;
class SmithChrt;

// The document trailer follows the last component block and carries the settings of features
// that the plain document stream has no place for. Layout (little-endian):
//
//   offset    size  content
//   0         8     magic 89 51 42 4C 58 0D 0A 1A ("\x89QBLX\r\n\x1A")
//   8         4     version, 1
//   12        4     L, the byte count of the records that follow (at most kMaxTrailerBody)
//   16        L     records, back to back: tag (4 ASCII bytes), payload length n (4), payload (n)
//   16 + L    4     CRC-32 (IEEE 802.3, as zlib's crc32) of bytes 0 .. 16 + L - 1
//
// A trailer is written only when some extension differs from its default, so a document that
// uses none is the plain stream. On reading, anything after the components that is not a whole,
// valid trailer of a known version is ignored, as trailing bytes always were, and the document
// opens with every extension at its default. Records of unknown tags are kept and written back.
// docs/file-format-extensions.md describes the records.

inline constexpr std::array<uint8_t, 8> kTrailerMagic = {0x89, 'Q',  'B',  'L',
                                                         'X',  '\r', '\n', 0x1A};
inline constexpr uint32_t kTrailerVersion = 1;
inline constexpr size_t kTrailerHeaderSize = 16;
inline constexpr size_t kTrailerCrcSize = 4;
/// The one limit of the trailer's size: the largest record area. The writer refuses to save a
/// document whose records would take more, and the reader takes no larger one.
inline constexpr uint32_t kMaxTrailerBody = 64u << 20;
/// The most of the input after the last component block that a reader ever takes in: the
/// largest trailer, header and checksum included.
inline constexpr size_t kMaxTrailerBytes = kTrailerHeaderSize + kMaxTrailerBody + kTrailerCrcSize;

inline constexpr RecordTag kBandRecordTag = MakeRecordTag('B', 'A', 'N', 'D');
/// The data the starting and the goal impedance are bound to.
inline constexpr RecordTag kStartDataRecordTag = MakeRecordTag('S', 'D', 'A', 'T');
inline constexpr RecordTag kGoalDataRecordTag = MakeRecordTag('G', 'D', 'A', 'T');
/// The loss defaults of the document and the parts' own loss settings.
inline constexpr RecordTag kLossDefaultsRecordTag = MakeRecordTag('L', 'O', 'S', 'S');
inline constexpr RecordTag kPartLossRecordTag = MakeRecordTag('C', 'L', 'O', 'S');
/// The band's limit.
inline constexpr RecordTag kBandLimitRecordTag = MakeRecordTag('B', 'L', 'I', 'M');
/// The loaded two-port device, its circle settings and the goal's binding to it.
inline constexpr RecordTag kDeviceRecordTag = MakeRecordTag('D', 'E', 'V', 'I');

/// One kind of record that the program knows. To add a kind, give its fields a default, write
/// these four functions and add a row to the table in documenttrailer.cpp.
struct TrailerRecordKind {
    RecordTag tag;
    /// True when the kind's fields hold their defaults: then no record is written.
    bool (*isDefault)(const SmithChrt& chart);
    void (*write)(const SmithChrt& chart, RecordWriter& out);
    /// Reads a payload (which may be longer than the fields this program knows: the rest is
    /// ignored). False when it is unusable; the kind's fields are then reset.
    bool (*read)(RecordReader& in, SmithChrt& chart);
    void (*reset)(SmithChrt& chart);
};

/// The kinds this program knows, in the order they are written.
std::span<const TrailerRecordKind> KnownTrailerRecordKinds();

/// CRC-32 as zlib computes it; crc is the value of the bytes before, for a running check.
uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc = 0);

/// Sets every extension to its default and drops unknown records (File New, and a read file
/// without a valid trailer).
void ResetExtensions(SmithChrt& chart);

/// The trailer bytes for chart: known records in table order, then the unknown records as they
/// were read. Empty when every extension has its default and there are no unknown records, and
/// when the records would take more than kMaxTrailerBody: then problem (if given) says so.
std::vector<uint8_t> EncodeTrailer(const SmithChrt& chart, std::string* problem = nullptr);

/// Reads the bytes that follow the last component block. Every extension is reset first; a
/// whole, valid trailer at the start of bytes is then applied (bytes after it are ignored).
/// Returns whether a trailer was applied. Of several records with one known tag the first counts.
/// Whatever of a trailer of ours is left out (the whole of a damaged or too large one, or a
/// record that cannot be used) is told in notes, one text each.
bool DecodeTrailer(std::span<const uint8_t> bytes, SmithChrt& chart,
                   std::vector<std::string>* notes = nullptr);

/// The end of the document stream: writes EncodeTrailer, failing the archive with the reason
/// when the trailer would be too large; on loading reads what follows through the archive as
/// DecodeTrailer does, with the notes in the archive's. Never fails a loading archive.
void SerializeTrailer(Archive& ar, SmithChrt& chart);
