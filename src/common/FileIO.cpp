#include "common/FileIO.h"

#include "common/FileErrors.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {

namespace {

int32_t lastCode() {
    return ioCodeFromErrno(errno);
}

// The code for a failure on path: a missing file in a missing folder is
// "Path Not Found!", in an existing folder "File Not Found!".
int32_t codeFor(const std::string& path) {
    const int err = errno;
    if (err == ENOENT) {
        const std::string folder = folderOf(path);
        return dirExists(folder.empty() ? std::string(".") : folder) ? IOFileNotFound
                                                                     : IOPathNotFound;
    }
    return ioCodeFromErrno(err);
}

WriteFault gWriteFault;

int32_t injected(WriteStage stage) {
    return gWriteFault ? gWriteFault(stage) : IOOk;
}

// The file a path finally names: symbolic links are followed (a link to a
// file that does not exist yet names that file), so that a save replaces the
// link's target and keeps the link.
std::string finalTarget(const std::string& path) {
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
        char buf[4096];
        const ssize_t n = ::readlink(target.c_str(), buf, sizeof buf - 1);
        if (n <= 0) return target;
        const std::string link(buf, std::size_t(n));
        target = link.front() == '/' ? link : folderOf(target) + link;
    }
    return target;
}

// Makes its contents' new name durable: the folder entry is flushed too.
void syncFolder(const std::string& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Writes all of data to fd; returns 0 or the error code.
int32_t writeAll(int fd, std::string_view data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return lastCode();
        }
        if (n == 0) return IODiskFull;
        done += std::size_t(n);
    }
    return IOOk;
}

} // namespace

int32_t readFile(const std::string& path, std::string& out, std::size_t maxBytes, bool* opened) {
    out.clear();
    if (opened) *opened = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return codeFor(path);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return IOAccessDenied;
    }
    if (opened) *opened = true;
    const std::size_t limit = maxBytes + 1;
    char buf[65536];
    int32_t code = IOOk;
    while (out.size() < limit) {
        const std::size_t want = std::min(sizeof buf, limit - out.size());
        const ssize_t n = ::read(fd, buf, want);
        if (n < 0) {
            if (errno == EINTR) continue;
            code = lastCode();
            break;
        }
        if (n == 0) break;
        out.append(buf, std::size_t(n));
    }
    ::close(fd);
    return code;
}

void setWriteFault(WriteFault fault) {
    gWriteFault = std::move(fault);
}

int32_t writeFileReplacing(const std::string& path, std::string_view data, bool* opened) {
    if (opened) *opened = false;
    const std::string target = finalTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // A file the user may not write stays as it is, as if it were written in place.
    if (exists && ::access(target.c_str(), W_OK) != 0) return lastCode();
    // A name of its own beside the target: two programs saving the same file
    // at once never share a temporary file.
    std::string temp = folderOf(target) + "." + nameOf(target) + ".XXXXXX";
    int fd = -1;
    int32_t code = injected(WriteStage::Create);
    if (code == IOOk) {
        fd = ::mkostemp(temp.data(), O_CLOEXEC);
        if (fd < 0) return codeFor(target);
    } else {
        return code;
    }
    if (opened) *opened = true;
    // The new file keeps what the old one had: its permissions and group. A
    // new file gets what the umask allows of read and write for everyone.
    if (exists) {
        if (::fchown(fd, uid_t(-1), old.st_gid) != 0) {
            // Not a member of that group: the file keeps the user's own.
        }
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    const std::size_t half = data.size() / 2;
    code = writeAll(fd, data.substr(0, half));
    if (code == IOOk) code = injected(WriteStage::Write);
    if (code == IOOk) code = writeAll(fd, data.substr(half));
    if (code == IOOk && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) code = lastCode();
    if (code == IOOk) code = injected(WriteStage::Finish);
    if (::close(fd) != 0 && code == IOOk) code = lastCode();
    if (code == IOOk && ::rename(temp.c_str(), target.c_str()) != 0) code = lastCode();
    if (code != IOOk) {
        ::unlink(temp.c_str());
        return code;
    }
    syncFolder(folderOf(target));
    return IOOk;
}

int32_t appendToFile(const std::string& path, std::string_view data) {
    // Created for everyone the umask lets write: a log that several accounts
    // of a group share stays appendable by all of them.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) return codeFor(path);
    int32_t code = writeAll(fd, data);
    if (::close(fd) != 0 && code == IOOk) code = lastCode();
    return code;
}

int32_t copyFileReplacing(const std::string& src, const std::string& dst) {
    std::string bytes;
    const int32_t code = readFile(src, bytes);
    if (code != IOOk) return code;
    return writeFileReplacing(dst, bytes);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool dirExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeDirs(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return dirExists(path);
}

int32_t removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? IOOk : lastCode();
}

std::string withSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

std::string folderOf(const std::string& path) {
    const auto p = path.rfind('/');
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string nameOf(const std::string& path) {
    const auto p = path.rfind('/');
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string upperCaseFileName(const std::string& path) {
    std::string out = path;
    const std::size_t slash = out.rfind('/');
    for (std::size_t i = slash == std::string::npos ? 0 : slash + 1; i < out.size(); ++i)
        if (out[i] >= 'a' && out[i] <= 'z') out[i] = char(out[i] - 'a' + 'A');
    return out;
}

} // namespace fileio
