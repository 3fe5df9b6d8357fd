#include "platform/shell/csysfslockkeys.h"

#include <filesystem>
#include <fstream>

namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool AnyLit(const std::vector<std::string>& ledDirs) {
    for (const std::string& dir : ledDirs) {
        std::ifstream in(dir + "/brightness");
        int brightness = 0;
        if (in >> brightness && brightness > 0) {
            return true;
        }
    }
    return false;
}

} // namespace

CSysfsLockKeys::CSysfsLockKeys(const std::string& ledRoot) {
    std::error_code ec;
    std::filesystem::directory_iterator it(ledRoot, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::filesystem::directory_entry& entry = *it;
        const std::string name = entry.path().filename().string();
        if (EndsWith(name, "::capslock")) {
            caps_.push_back(entry.path().string());
        } else if (EndsWith(name, "::numlock")) {
            num_.push_back(entry.path().string());
        } else if (EndsWith(name, "::scrolllock")) {
            scroll_.push_back(entry.path().string());
        }
    }
}

LockKeys CSysfsLockKeys::Read() {
    return {AnyLit(caps_), AnyLit(num_), AnyLit(scroll_)};
}
