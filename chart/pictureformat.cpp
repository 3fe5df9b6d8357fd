#include "chart/pictureformat.h"

#include "model/asciitext.h"

#include <string>

std::optional<PictureFormat> PictureFormatOfPath(std::string_view path) {
    const std::string ext = AsciiLower(PathExtension(path));
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
