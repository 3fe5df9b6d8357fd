#pragma once

#include <optional>
#include <string_view>

/// The picture files the chart (and its companions) are exported to.
enum class PictureFormat { Png, Svg, Pdf };

/// The format a file name asks for by its extension (.png, .svg, .pdf in any case), if any.
std::optional<PictureFormat> PictureFormatOfPath(std::string_view path);
