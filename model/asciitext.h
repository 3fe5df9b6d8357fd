#pragma once

#include <string>
#include <string_view>

/// c in lower case when it is an ASCII letter A-Z, as it is otherwise.
inline char AsciiLowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/// text with the ASCII letters A-Z in lower case, every other byte as it is (locale-free, so
/// that keywords, options and file extensions compare alike everywhere).
std::string AsciiLower(std::string_view text);

/// The last part of a path, after its last '/' or '\\'.
std::string_view PathBaseName(std::string_view path);

/// The extension of a path's last part, from its last '.' (".PNG"); empty when it has none.
std::string_view PathExtension(std::string_view path);
