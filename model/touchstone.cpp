#include "model/touchstone.h"

#include "model/touchstoneparser.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

// Reading a Touchstone file: its bytes cut into lines and comments for the parser.

TouchstoneResult ReadTouchstone(std::string_view bytes, std::string_view name,
                                const TouchstoneOptions& options) {
    touchstone::Parser parser(name, options);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    std::size_t pos = 0;
    for (int number = 1; pos < bytes.size(); ++number) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        const std::string_view line = bytes.substr(pos, end - pos);
        pos = end +
              ((end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ? 2 : 1);
        const std::size_t bang = line.find('!');
        const bool hasComment = bang != std::string_view::npos;
        const std::string_view content = hasComment ? line.substr(0, bang) : line;
        const std::string_view comment = hasComment ? line.substr(bang + 1) : std::string_view();
        if (!parser.Line(number, content, comment, hasComment)) {
            break;
        }
    }
    return parser.Finish();
}

TouchstoneResult ReadTouchstoneFile(const std::string& path, const TouchstoneOptions& options) {
    TouchstoneResult failure;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        failure.error = "The file cannot be opened: " + std::string(std::strerror(errno)) + ".";
        return failure;
    }
    if (!S_ISREG(st.st_mode)) {
        failure.error = "This is not a file.";
        return failure;
    }
    if (static_cast<std::uint64_t>(st.st_size) > kTouchstoneMaxBytes) {
        failure.error = "The file is too large (over " + std::to_string(kTouchstoneMaxBytes >> 20) +
                        " MB) for Touchstone data.";
        return failure;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        failure.error = "The file cannot be opened: " + std::string(std::strerror(errno)) + ".";
        return failure;
    }
    std::string bytes;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 &&
           bytes.size() + got <= kTouchstoneMaxBytes) {
        bytes.append(buffer, got);
    }
    const bool bad = std::ferror(file) != 0 || got > 0;
    std::fclose(file);
    if (bad) {
        failure.error = "The file cannot be read completely.";
        return failure;
    }
    return ReadTouchstone(bytes, path, options);
}
