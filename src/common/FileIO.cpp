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

int32_t lastCode() { return ioCodeFromErrno(errno); }

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
    if (fd < 0) return lastCode();
    struct stat st{};
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

int32_t writeFileReplacing(const std::string& path, std::string_view data, bool* opened) {
    if (opened) *opened = false;
    // A file the user may not write stays as it is, as if it were written in place.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) return lastCode();
    const std::string temp = path + ".new~";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return lastCode();
    if (opened) *opened = true;
    int32_t code = writeAll(fd, data);
    if (code == IOOk && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) code = lastCode();
    if (::close(fd) != 0 && code == IOOk) code = lastCode();
    if (code == IOOk && ::rename(temp.c_str(), path.c_str()) != 0) code = lastCode();
    if (code != IOOk) ::unlink(temp.c_str());
    return code;
}

int32_t appendToFile(const std::string& path, std::string_view data) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return lastCode();
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
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool dirExists(const std::string& path) {
    struct stat st{};
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
