#include "model/asciitext.h"

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = AsciiLowerChar(c);
    }
    return out;
}

std::string_view PathBaseName(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view PathExtension(std::string_view path) {
    const std::string_view base = PathBaseName(path);
    const size_t dot = base.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view() : base.substr(dot);
}
