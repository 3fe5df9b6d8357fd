#include "chart/pictureformat.h"

#include <algorithm>
#include <cctype>
#include <string>

std::optional<PictureFormat> PictureFormatOfPath(std::string_view path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return std::nullopt;
    }
    std::string ext(path.substr(dot));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".png") {
        return PictureFormat::Png;
    }
    if (ext == ".svg") {
        return PictureFormat::Svg;
    }
    if (ext == ".pdf") {
        return PictureFormat::Pdf;
    }
    return std::nullopt;
}
