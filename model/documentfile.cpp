#include "model/documentfile.h"

#include "model/filerules.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

DocumentError ReadInto(Archive& ar, SmithChrt& chart, std::vector<std::string>* notes) {
    // Copying the document costs little: what it holds in bulk is shared between copies.
    SmithChrt copy = chart;
    copy.Serialize(ar);
    if (ar.Failed()) {
        return ar.Error();
    }
    chart = std::move(copy);
    if (notes != nullptr) {
        notes->insert(notes->end(), ar.Notes().begin(), ar.Notes().end());
    }
    return DocumentError::None;
}

/// An open file read through the kernel, closed with the source.
class FileSource : public ByteSource {
public:
    explicit FileSource(int fd) : fd(fd) {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_size >= 0) {
            size = static_cast<uint64_t>(st.st_size);
        }
    }
    ~FileSource() override { ::close(fd); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    size_t Read(uint8_t* dst, size_t n) override {
        for (;;) {
            const ssize_t got = ::read(fd, dst, n);
            if (got >= 0) {
                consumed += static_cast<uint64_t>(got);
                return static_cast<size_t>(got);
            }
            if (errno != EINTR) {
                failed = true;
                return 0;
            }
        }
    }
    bool ReadError() const override { return failed; }
    // The size when opened: a file that grows meanwhile is read no further than that.
    std::optional<uint64_t> Remaining() const override { return size - std::min(size, consumed); }

private:
    int fd;
    bool failed = false;
    uint64_t size = 0;
    uint64_t consumed = 0;
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

/// The system's words for the last error, "Permission denied".
std::string SystemCause() {
    return std::error_code(errno, std::generic_category()).message();
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put == 0) {
            errno = ENOSPC; // nothing written and no error given: the device takes no more
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

DocumentError WriteDocument(const SmithChrt& chart, std::vector<uint8_t>& bytes,
                            std::string* cause) {
    SmithChrt copy = chart;
    Archive ar;
    copy.Serialize(ar);
    if (ar.Failed()) {
        bytes.clear();
        if (cause != nullptr) {
            *cause = ar.Cause();
        }
        return ar.Error();
    }
    bytes = ar.TakeBytes();
    return DocumentError::None;
}

std::vector<uint8_t> WriteDocument(const SmithChrt& chart) {
    std::vector<uint8_t> bytes;
    WriteDocument(chart, bytes, nullptr);
    return bytes;
}

DocumentError ReadDocument(std::span<const uint8_t> data, SmithChrt& chart,
                           std::vector<std::string>* notes) {
    Archive ar(data);
    return ReadInto(ar, chart, notes);
}

DocumentError ReadDocument(ByteSource& source, SmithChrt& chart, std::vector<std::string>* notes) {
    Archive ar(source);
    return ReadInto(ar, chart, notes);
}

OpenOutcome LoadDocumentFile(const std::string& path, SmithChrt& chart, DocumentError& error,
                             std::vector<std::string>* notes) {
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
    error = ReadInto(ar, chart, notes);
    return error == DocumentError::None ? OpenOutcome::Read : OpenOutcome::Failed;
}

namespace {

// The save of SaveDocumentFile and SaveBytesFile: make gives the bytes once the target is known to
// be writable; why tells the cause of a failure.
template <class Make>
DocumentError SaveFile(const std::string& path, Make&& make, std::string& why) {
    std::string target;
    errno = 0;
    if (!ResolveLinks(path, target)) {
        why = errno != 0 ? SystemCause() : "a symbolic link in its name may not be followed";
        return DocumentError::FailedToSave;
    }
    struct stat st {};
    const bool exists = ::lstat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        why = "not a regular file";
        return DocumentError::FailedToSave;
    }
    if (exists && IsWriteProtected(target)) {
        why = "the file is read-only";
        return DocumentError::FailedToSave;
    }
    // Nothing is written for a document that cannot be.
    std::vector<uint8_t> bytes;
    if (const DocumentError e = make(bytes, why); e != DocumentError::None) {
        return e;
    }
    // A short name, so that a target name of any legal length leaves room for it.
    const std::string folder = FolderOf(target);
    std::string temp = folder + "/.quorbel-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        why = SystemCause();
        return DocumentError::FailedToSave;
    }
    bool ok =
        WriteAll(fd, bytes) && TakeOverAttributes(fd, exists ? &st : nullptr) && ::fsync(fd) == 0;
    if (!ok) {
        why = SystemCause();
    }
    if (::close(fd) != 0 && ok) {
        why = SystemCause();
        ok = false;
    }
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
        why = SystemCause();
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return DocumentError::FailedToSave;
    }
    SyncFolder(folder);
    return DocumentError::None;
}

} // namespace

DocumentError SaveDocumentFile(const std::string& path, const SmithChrt& chart,
                               std::string* cause) {
    std::string why;
    const DocumentError error = SaveFile(
        path,
        [&chart](std::vector<uint8_t>& bytes, std::string& w) {
            return WriteDocument(chart, bytes, &w);
        },
        why);
    if (error != DocumentError::None && cause != nullptr) {
        *cause = why;
    }
    return error;
}

DocumentError SaveBytesFile(const std::string& path, const std::vector<uint8_t>& bytes,
                            std::string* cause) {
    std::string why;
    const DocumentError error = SaveFile(
        path,
        [&bytes](std::vector<uint8_t>& out, std::string&) {
            out = bytes;
            return DocumentError::None;
        },
        why);
    if (error != DocumentError::None && cause != nullptr) {
        *cause = why;
    }
    return error;
}
