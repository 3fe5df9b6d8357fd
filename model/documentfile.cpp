#include "model/documentfile.h"

#include "model/filerules.h"
#include "model/smithchrt.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

DocumentError ReadInto(Archive& ar, SmithChrt& chart) {
    SmithChrt copy = chart;
    copy.Serialize(ar);
    if (ar.Failed()) {
        return ar.Error();
    }
    chart = copy;
    return DocumentError::None;
}

/// An open file read through the kernel, closed with the source.
class FileSource : public ByteSource {
public:
    explicit FileSource(int fd) : fd(fd) {}
    ~FileSource() override { ::close(fd); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    size_t Read(uint8_t* dst, size_t n) override {
        for (;;) {
            const ssize_t got = ::read(fd, dst, n);
            if (got >= 0) {
                return static_cast<size_t>(got);
            }
            if (errno != EINTR) {
                failed = true;
                return 0;
            }
        }
    }
    bool ReadError() const override { return failed; }

private:
    int fd;
    bool failed = false;
};

// A regular file opened for reading, or -1. Other kinds are not even opened, and the open does
// not wait, should the name be swapped for a pipe in between.
int OpenRegularFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        done += static_cast<size_t>(put);
    }
    return true;
}

mode_t ModeForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The temporary file's mode and owner are those of the file it replaces (the owner as far as
// this process may give it), or those of a new file.
bool TakeOverAttributes(int fd, const struct stat* replaced) {
    if (replaced == nullptr) {
        return ::fchmod(fd, ModeForNewFile()) == 0;
    }
    if (::fchown(fd, replaced->st_uid, replaced->st_gid) != 0) {
        [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), replaced->st_gid);
    }
    return ::fchmod(fd, replaced->st_mode & 07777) == 0;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::vector<uint8_t> WriteDocument(const SmithChrt& chart) {
    SmithChrt copy = chart;
    Archive ar;
    copy.Serialize(ar);
    return ar.Bytes();
}

DocumentError ReadDocument(std::span<const uint8_t> data, SmithChrt& chart) {
    Archive ar(data);
    return ReadInto(ar, chart);
}

DocumentError ReadDocument(ByteSource& source, SmithChrt& chart) {
    Archive ar(source);
    return ReadInto(ar, chart);
}

OpenOutcome LoadDocumentFile(const std::string& path, SmithChrt& chart, DocumentError& error) {
    error = DocumentError::FailedToOpen;
    const int fd = OpenRegularFile(path);
    if (fd < 0) {
        return OpenOutcome::Failed;
    }
    FileSource source(fd);
    Archive ar(source);
    if (ar.AtEnd()) {
        if (ar.Failed()) {
            return OpenOutcome::Failed;
        }
        error = DocumentError::None;
        return OpenOutcome::EmptyFile;
    }
    error = ReadInto(ar, chart);
    return error == DocumentError::None ? OpenOutcome::Read : OpenOutcome::Failed;
}

DocumentError SaveDocumentFile(const std::string& path, const SmithChrt& chart) {
    return SaveBytesFile(path, WriteDocument(chart));
}

DocumentError SaveBytesFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string target;
    if (!ResolveLinks(path, target)) {
        return DocumentError::FailedToSave;
    }
    struct stat st {};
    const bool exists = ::lstat(target.c_str(), &st) == 0;
    if (exists && (!S_ISREG(st.st_mode) || IsWriteProtected(target))) {
        return DocumentError::FailedToSave;
    }
    // A short name, so that a target name of any legal length leaves room for it.
    const std::string folder = FolderOf(target);
    std::string temp = folder + "/.quorbel-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return DocumentError::FailedToSave;
    }
    bool ok =
        WriteAll(fd, bytes) && TakeOverAttributes(fd, exists ? &st : nullptr) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && std::rename(temp.c_str(), target.c_str()) == 0) {
        SyncFolder(folder);
        return DocumentError::None;
    }
    ::unlink(temp.c_str());
    return DocumentError::FailedToSave;
}
