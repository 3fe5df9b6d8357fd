#include "documentfile.h"

#include "smithchrt.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::vector<uint8_t> WriteDocument(const SmithChrt& chart) {
    SmithChrt copy = chart;
    Archive ar;
    copy.Serialize(ar);
    return ar.Bytes();
}

DocumentError ReadDocument(std::span<const uint8_t> data, SmithChrt& chart) {
    SmithChrt copy = chart;
    Archive ar(data);
    copy.Serialize(ar);
    if (ar.Failed()) {
        return ar.Error();
    }
    chart = copy;
    return DocumentError::None;
}

namespace {

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& data) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    data.clear();
    uint8_t buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ::close(fd);
            return false;
        }
        if (got == 0) {
            break;
        }
        data.insert(data.end(), buffer, buffer + got);
    }
    ::close(fd);
    return true;
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

mode_t ModeForNewFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        return st.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

OpenOutcome LoadDocumentFile(const std::string& path, SmithChrt& chart, DocumentError& error) {
    error = DocumentError::None;
    std::vector<uint8_t> data;
    if (!ReadWholeFile(path, data)) {
        error = DocumentError::FailedToOpen;
        return OpenOutcome::Failed;
    }
    if (data.empty()) {
        return OpenOutcome::EmptyFile;
    }
    error = ReadDocument(data, chart);
    return error == DocumentError::None ? OpenOutcome::Read : OpenOutcome::Failed;
}

DocumentError SaveDocumentFile(const std::string& path, const SmithChrt& chart) {
    const std::vector<uint8_t> bytes = WriteDocument(chart);
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return DocumentError::FailedToSave;
    }
    bool ok = WriteAll(fd, bytes) && ::fchmod(fd, ModeForNewFile(path)) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && std::rename(temp.c_str(), path.c_str()) == 0) {
        return DocumentError::None;
    }
    ::unlink(temp.c_str());
    return DocumentError::FailedToSave;
}
