// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/FileIO.h"

#include "common/FileErrors.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
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

int64_t nanoseconds(const timespec& t) {
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

FileStamp stampFrom(const struct stat& st) {
    return {true, uint64_t(st.st_dev), uint64_t(st.st_ino), int64_t(st.st_size),
            nanoseconds(st.st_mtim)};
}

// The file a save writes. A path that is no link names itself (a new file
// when absent). A symbolic link is followed only when the saver owns it, and
// every link after it, and the chain ends at an existing regular file: a link
// planted by someone else, or one ending nowhere, would let a save write
// wherever it points.
int32_t saveTarget(const std::string& path, std::string& target, struct stat& st, bool& exists) {
    target = path;
    exists = false;
    const uid_t me = ::geteuid();
    for (int hops = 0; hops < 40; ++hops) {
        if (::lstat(target.c_str(), &st) != 0) {
            if (errno == ENOENT && hops > 0) return IOAccessDenied;
            return errno == ENOENT ? IOOk : codeFor(target);
        }
        if (!S_ISLNK(st.st_mode)) {
            exists = true;
            if (S_ISDIR(st.st_mode)) return IOAccessDenied;
            return S_ISREG(st.st_mode) ? IOOk : IONotRegularFile;
        }
        if (st.st_uid != me) return IOAccessDenied;
        char buf[4096];
        const ssize_t n = ::readlink(target.c_str(), buf, sizeof buf - 1);
        if (n <= 0) return IOAccessDenied;
        const std::string link(buf, std::size_t(n));
        target = link.front() == '/' ? link : folderOf(target) + link;
    }
    return IOPathNotFound;
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

// Writes data in two halves with the test's fault between them, then flushes.
int32_t writeAndFlush(int fd, std::string_view data) {
    const std::size_t half = data.size() / 2;
    int32_t code = writeAll(fd, data.substr(0, half));
    if (code == IOOk) code = injected(WriteStage::Write);
    if (code == IOOk) code = writeAll(fd, data.substr(half));
    if (code == IOOk && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) code = lastCode();
    if (code == IOOk) code = injected(WriteStage::Finish);
    return code;
}

// Reads what is left of fd into out, refusing more than maxBytes.
int32_t readAll(int fd, std::string& out, std::size_t maxBytes) {
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            return lastCode();
        }
        if (n == 0) return IOOk;
        // The file grew while it was read.
        if (out.size() + std::size_t(n) > maxBytes) return IOFileTooLarge;
        out.append(buf, std::size_t(n));
    }
}

// A name mkostemp made for a save of name: "." + name + "." + six letters or digits.
bool isTempNameFor(const std::string& entry, const std::string& name) {
    const std::string prefix = "." + name + ".";
    if (entry.size() != prefix.size() + 6 || entry.compare(0, prefix.size(), prefix) != 0)
        return false;
    return std::all_of(entry.begin() + std::ptrdiff_t(prefix.size()), entry.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Removes the temporary files of earlier saves of name that were killed before
// they finished: only the saver's own regular files, an hour old or more (a
// younger one may belong to a save going on now).
void removeStaleTemps(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return;
    const int dfd = ::dirfd(dir);
    const time_t now = ::time(nullptr);
    while (const dirent* e = ::readdir(dir)) {
        if (!isTempNameFor(e->d_name, name)) continue;
        struct stat st {};
        if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == ::geteuid() && now - st.st_mtim.tv_sec >= 3600)
            ::unlinkat(dfd, e->d_name, 0);
    }
    ::closedir(dir);
}

// Rewrites target in place, for a folder where no new file can be made: the
// old contents are kept to be put back when the write fails. The file must
// still be the regular file that was checked (same device and inode).
int32_t writeInPlace(const std::string& target, const struct stat& checked, std::string_view data,
                     bool* opened) {
    const int fd = ::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return codeFor(target);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_dev != checked.st_dev || st.st_ino != checked.st_ino ||
        !S_ISREG(st.st_mode)) {
        ::close(fd);
        return IOAccessDenied;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::string old;
    int32_t code =
        st.st_size > off_t(kMaxFileBytes) ? IOFileTooLarge : readAll(fd, old, kMaxFileBytes);
    if (code != IOOk) {
        ::close(fd);
        return code;
    }
    if (opened) *opened = true;
    if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) code = lastCode();
    if (code == IOOk) code = writeAndFlush(fd, data);
    if (code != IOOk) {
        // Put back what was there; the first fault is the one reported.
        if (::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, old) == IOOk)
            ::fsync(fd);
    }
    if (::close(fd) != 0 && code == IOOk) code = lastCode();
    return code;
}

} // namespace

FileStamp stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return stampFrom(st);
}

int32_t openRegularFile(const std::string& path, int& fd, bool* opened) {
    if (opened) *opened = false;
    // Not blocking: opening a named pipe for reading would wait for a writer.
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return codeFor(path);
    struct stat st {};
    const int32_t code = ::fstat(fd, &st) != 0  ? lastCode()
                         : S_ISDIR(st.st_mode)  ? IOAccessDenied
                         : !S_ISREG(st.st_mode) ? IONotRegularFile
                                                : IOOk;
    if (code != IOOk) {
        ::close(fd);
        fd = -1;
        // A folder is no file at all; a pipe or a device is one that is not readable here.
        if (opened) *opened = code != IOAccessDenied;
        return code;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (opened) *opened = true;
    return IOOk;
}

int32_t readFile(const std::string& path, std::string& out, std::size_t maxBytes, bool* opened,
                 FileStamp* stamp) {
    out.clear();
    if (stamp) *stamp = {};
    int fd = -1;
    int32_t code = openRegularFile(path, fd, opened);
    if (code != IOOk) return code;
    struct stat st {};
    ::fstat(fd, &st);
    if (std::size_t(st.st_size) > maxBytes) code = IOFileTooLarge;
    if (code == IOOk) {
        out.reserve(std::size_t(st.st_size));
        code = readAll(fd, out, maxBytes);
    }
    ::close(fd);
    if (code != IOOk) {
        out.clear();
        return code;
    }
    if (stamp) *stamp = stampFrom(st);
    return IOOk;
}

void setWriteFault(WriteFault fault) {
    gWriteFault = std::move(fault);
}

int32_t writeFileReplacing(const std::string& path, std::string_view data, bool* opened) {
    if (opened) *opened = false;
    std::string target;
    struct stat old {};
    bool exists = false;
    if (int32_t code = saveTarget(path, target, old, exists); code != IOOk) {
        // Refused by the program rather than by the system: reported as a
        // file error, not as a file that could not be opened.
        if (opened) *opened = code == IOAccessDenied || code == IONotRegularFile;
        return code;
    }
    // A file the user may not write stays as it is, as if it were written in place.
    if (exists && ::access(target.c_str(), W_OK) != 0) return lastCode();
    const std::string folder = folderOf(target);
    removeStaleTemps(folder, nameOf(target));
    // A name of its own beside the target: two programs saving the same file
    // at once never share a temporary file.
    std::string temp = folder + "." + nameOf(target) + ".XXXXXX";
    int32_t code = injected(WriteStage::Create);
    if (code != IOOk) return code;
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        if (exists && (errno == EACCES || errno == EPERM))
            return writeInPlace(target, old, data, opened);
        return codeFor(target);
    }
    if (opened) *opened = true;
    // Only read and write permissions carry over: a save never makes a
    // program or a set-user-id file. A file that was someone else's gets no
    // more than the saver's umask allows, since the saver now owns it.
    mode_t mask = ::umask(0);
    ::umask(mask);
#if defined(__EMSCRIPTEN__)
    // WebAssembly's C library starts with a umask of 0777, which would give a
    // new file no permission at all: the usual 022 until the program sets one.
    if (mask == 0777) mask = 022;
#endif
    mode_t mode = 0666 & ~mask;
    if (exists) {
        if (::fchown(fd, uid_t(-1), old.st_gid) != 0) {
            // Not a member of that group: the file keeps the user's own.
        }
        mode = old.st_mode & 0666;
        if (old.st_uid != ::geteuid()) mode &= ~mask;
    }
    ::fchmod(fd, mode);
    code = writeAndFlush(fd, data);
    if (::close(fd) != 0 && code == IOOk) code = lastCode();
    if (code == IOOk && ::rename(temp.c_str(), target.c_str()) != 0) code = lastCode();
    if (code != IOOk) {
        ::unlink(temp.c_str());
        return code;
    }
    syncFolder(folder);
    return IOOk;
}

int32_t appendToFile(const std::string& path, std::string_view data) {
    constexpr int kFlags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(path.c_str(), kFlags);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0664);
        // Group-writable whatever the umask: the group's other accounts append too.
        if (fd >= 0)
            ::fchmod(fd, 0664);
        else if (errno == EEXIST)
            fd = ::open(path.c_str(), kFlags);
    }
    if (fd < 0) return errno == ELOOP ? IOAccessDenied : codeFor(path);
    struct stat st {};
    int32_t code = ::fstat(fd, &st) != 0 ? lastCode()
                   : S_ISREG(st.st_mode) ? IOOk
                                         : IONotRegularFile;
    if (code == IOOk) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        code = writeAll(fd, data);
    }
    if (::close(fd) != 0 && code == IOOk) code = lastCode();
    return code;
}

int32_t copyFileReplacing(const std::string& src, const std::string& dst) {
    std::string bytes;
    const int32_t code = readFile(src, bytes);
    if (code != IOOk) return code;
    return writeFileReplacing(dst, bytes);
}

FileLock::FileLock(const std::string& path) {
#if defined(__EMSCRIPTEN__)
    // WebAssembly has no advisory locks (and a browser's files belong to one
    // page): no lock, and nothing held that could upset the save that follows.
    (void)path;
    return;
#endif
    const std::string folder = folderOf(path);
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    // Another copy holds the lock only for one save; a few seconds is ample.
    for (int tries = 0; tries < 250; ++tries) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        ::usleep(20000);
    }
    ::close(fd_);
    fd_ = -1;
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool dirExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool nameTaken(const std::string& path) {
    std::string name = path;
    while (name.size() > 1 && name.back() == '/')
        name.pop_back();
    struct stat st {};
    return dirExists(folderOf(name)) && ::lstat(name.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
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
