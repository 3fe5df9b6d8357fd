#include "model/touchstone.h"

#include "model/touchstoneparser.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

// Reading a Touchstone file: its bytes cut into lines and comments for the parser.

namespace {

/// Hands the parser the file's lines, each split at its first '!'.
void ParseLines(touchstone::Parser& parser, std::string_view bytes) {
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
}

/// The file's bytes, or an error for a file that cannot or should not be read.
bool ReadBytes(const std::string& path, std::string& bytes, std::string& error) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = "The file cannot be opened: " + std::string(std::strerror(errno)) + ".";
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "This is not a file.";
        return false;
    }
    if (static_cast<std::uint64_t>(st.st_size) > kTouchstoneMaxBytes) {
        error = "The file is too large (over " + std::to_string(kTouchstoneMaxBytes >> 20) +
                " MB) for Touchstone data.";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "The file cannot be opened: " + std::string(std::strerror(errno)) + ".";
        return false;
    }
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 &&
           bytes.size() + got <= kTouchstoneMaxBytes) {
        bytes.append(buffer, got);
    }
    const bool bad = std::ferror(file) != 0 || got > 0;
    std::fclose(file);
    if (bad) {
        error = "The file cannot be read completely.";
        return false;
    }
    return true;
}

} // namespace

TouchstoneResult ReadTouchstone(std::string_view bytes, std::string_view name,
                                const TouchstoneOptions& options) {
    touchstone::Parser parser(name, options);
    ParseLines(parser, bytes);
    return parser.Finish();
}

TouchstoneResult ReadTouchstoneFile(const std::string& path, const TouchstoneOptions& options) {
    TouchstoneResult failure;
    std::string bytes;
    if (!ReadBytes(path, bytes, failure.error)) {
        return failure;
    }
    return ReadTouchstone(bytes, path, options);
}

DeviceReadResult ReadTouchstoneDevice(std::string_view bytes, std::string_view name,
                                      const DeviceReadOptions& options) {
    touchstone::Parser parser(name, options.ports, options.port1, options.port2);
    ParseLines(parser, bytes);
    TouchstoneResult r;
    DeviceReadResult out;
    out.data = parser.FinishDevice(r);
    out.error = std::move(r.error);
    out.notes = std::move(r.notes);
    out.errorLine = r.errorLine;
    out.ports = r.ports;
    out.portsNeeded = r.portNeeded;
    return out;
}

DeviceReadResult ReadTouchstoneDeviceFile(const std::string& path,
                                          const DeviceReadOptions& options) {
    DeviceReadResult failure;
    std::string bytes;
    if (!ReadBytes(path, bytes, failure.error)) {
        return failure;
    }
    return ReadTouchstoneDevice(bytes, path, options);
}
