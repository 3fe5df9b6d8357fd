#include "model/filerules.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links in a row as the kernel itself follows.
constexpr int kMaxLinkHops = 40;

FileOwnership OwnershipOf(const struct stat& st) {
    return {static_cast<uint32_t>(st.st_mode), static_cast<uint32_t>(st.st_uid),
            static_cast<uint32_t>(st.st_gid)};
}

bool InGroup(const FileUser& user, uint32_t group) {
    return user.gid == group ||
           std::find(user.groups.begin(), user.groups.end(), group) != user.groups.end();
}

bool ReadLinkText(const std::string& path, std::string& text) {
    std::string buffer(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (n <= 0 || static_cast<size_t>(n) >= buffer.size()) {
        return false;
    }
    text.assign(buffer.data(), static_cast<size_t>(n));
    return true;
}

} // namespace

FileUser CurrentFileUser() {
    FileUser user{static_cast<uint32_t>(::geteuid()), static_cast<uint32_t>(::getegid()), {}};
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> groups(static_cast<size_t>(count));
        const int got = ::getgroups(count, groups.data());
        for (int i = 0; i < got; ++i) {
            user.groups.push_back(static_cast<uint32_t>(groups[static_cast<size_t>(i)]));
        }
    }
    return user;
}

bool IsWriteProtected(const FileOwnership& file, const FileUser& user) {
    if (user.uid == 0) {
        return (file.mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    }
    if (user.uid == file.owner) {
        return (file.mode & S_IWUSR) == 0;
    }
    if (InGroup(user, file.group)) {
        return (file.mode & S_IWGRP) == 0;
    }
    return (file.mode & S_IWOTH) == 0;
}

bool IsWriteProtected(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return false;
    }
    return IsWriteProtected(OwnershipOf(st), CurrentFileUser());
}

bool MayFollowLink(const FileOwnership& link, const FileOwnership& folder, const FileUser& user) {
    const bool stickyForAll = (folder.mode & S_ISVTX) != 0 && (folder.mode & S_IWOTH) != 0;
    return !stickyForAll || link.owner == user.uid || link.owner == folder.owner;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool ResolveLinks(const std::string& path, std::string& target) {
    const FileUser user = CurrentFileUser();
    std::string name = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(name.c_str(), &st) != 0) {
            // A name that does not exist yet is where a new file goes.
            if (errno != ENOENT) {
                return false;
            }
            target = name;
            return true;
        }
        if (!S_ISLNK(st.st_mode)) {
            target = name;
            return true;
        }
        struct stat folder {};
        std::string text;
        if (::stat(FolderOf(name).c_str(), &folder) != 0 ||
            !MayFollowLink(OwnershipOf(st), OwnershipOf(folder), user) ||
            !ReadLinkText(name, text)) {
            return false;
        }
        // A relative link is relative to the folder that holds it.
        name = text.front() == '/' ? text : FolderOf(name) + "/" + text;
    }
    return false;
}
