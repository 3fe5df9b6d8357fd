#pragma once

#include <string>
#include <string_view>

// Conversions between the UTF-8 text held in memory and the encodings of document files.

std::u32string DecodeUtf8(std::string_view utf8);
std::string EncodeUtf8(std::u32string_view text);

/// Windows-1252 bytes for text; false when a character has no single-byte form.
/// The five bytes the code page leaves unassigned stand for U+0081, U+008D, U+008F, U+0090
/// and U+009D, so every byte string survives a round trip.
bool EncodeCp1252(std::u32string_view text, std::string& bytes);
std::u32string DecodeCp1252(std::string_view bytes);

std::u16string EncodeUtf16(std::u32string_view text);
/// Unpaired surrogates become U+FFFD.
std::u32string DecodeUtf16(std::u16string_view units);
