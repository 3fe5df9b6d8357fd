#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The rules that decide which file a save writes and whether it may write it. They read the
// file system but change nothing.

/// The owner, group and permission bits of a file or folder.
struct FileOwnership {
    uint32_t mode = 0; ///< st_mode: type and permission bits
    uint32_t owner = 0;
    uint32_t group = 0;
};

/// The user a rule decides for: the effective user and group and the supplementary groups.
struct FileUser {
    uint32_t uid = 0;
    uint32_t gid = 0;
    std::vector<uint32_t> groups;
};

/// The user this process runs as.
FileUser CurrentFileUser();

/// The read-only rule: whether a file's permission bits keep user from writing it. The bits of
/// the user's class decide (owner, else group, else others); the superuser, whom the kernel lets
/// write anything, is kept from a file that no class may write. A save replaces the file by a
/// rename, which the file's own bits do not govern, so this rule is what protects it.
bool IsWriteProtected(const FileOwnership& file, const FileUser& user);

/// The read-only rule for the file that path names (links followed), for this process. False when
/// there is no such file: a new name may be written.
bool IsWriteProtected(const std::string& path);

/// Whether user may follow a symbolic link owned as link that lies in a folder owned as folder:
/// not in a sticky folder that everyone may write (such as /tmp) when someone else planted it.
bool MayFollowLink(const FileOwnership& link, const FileOwnership& folder, const FileUser& user);

/// The name that path finally stands for once its symbolic links are followed, which need not
/// exist yet (a link to a new name). False for a loop, an unreadable link or a link that may not
/// be followed.
bool ResolveLinks(const std::string& path, std::string& target);

/// The folder part of a path: "." for a bare name, "/" for a name in the root.
std::string FolderOf(const std::string& path);
