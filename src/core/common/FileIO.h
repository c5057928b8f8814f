// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads and safe whole-file writes, reporting the program's file
// error codes (FileErrors.h) instead of throwing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace fileio {

// The largest file the program reads whole: far beyond any file it writes.
constexpr std::size_t kMaxFileBytes = std::size_t(64) << 20;

// What identifies one version of a file: a save or an edit by another
// program changes at least one of these.
struct FileStamp {
    bool exists = false;
    uint64_t device = 0, inode = 0;
    int64_t size = 0, modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
// The stamp of the file a path names now (exists false when there is none).
FileStamp stampOf(const std::string& path);

// Opens a regular file for reading without ever blocking (a named pipe or a
// device is IONotRegularFile, a folder IOAccessDenied) and returns its
// descriptor in fd, to be closed by the caller. opened, when given, tells
// whether the path could be opened at all.
int32_t openRegularFile(const std::string& path, int& fd, bool* opened = nullptr);

// Reads the whole file into out. A file longer than maxBytes is refused with
// IOFileTooLarge and out stays empty: no part of a file is read as if it were
// all of it. Returns 0 or the file error code. opened as for openRegularFile;
// stamp, when given, receives the stamp of the version read.
int32_t readFile(const std::string& path, std::string& out, std::size_t maxBytes = kMaxFileBytes,
                 bool* opened = nullptr, FileStamp* stamp = nullptr);

// Writes data to a new file of its own name beside path and, once every byte
// is written and flushed, renames it over path and flushes the folder. On
// failure path is left as it was. The new file keeps the old one's read and
// write permissions (no more than the umask allows when the old file was
// someone else's) and its group. A symbolic link is followed only when the
// saver owns it and it ends at an existing regular file; any other link, and
// any existing file that is not regular or may not be written, is refused
// and left as it is. Where no file can be made beside it, a writable regular
// file is rewritten in place, its old contents put back if the write fails.
// The saver's own temporary files left by a save that was killed are removed
// once they are an hour old. opened, when given, tells whether the new file
// could be created at all.
int32_t writeFileReplacing(const std::string& path, std::string_view data, bool* opened = nullptr);

// For tests: a failure injected at a stage of writeFileReplacing (the code to
// fail with, or 0 to go on). An empty function removes it.
enum class WriteStage { Create, Write, Finish };
using WriteFault = std::function<int32_t(WriteStage)>;
void setWriteFault(WriteFault fault);

// Appends data with one write call (O_APPEND), creating the file when absent,
// so that blocks appended by several programs never interleave. A new file is
// readable by all and writable by its group (0664, whatever the umask), so
// that a log shared by a group's accounts stays appendable by all of them.
// A symbolic link or anything but a regular file is refused.
int32_t appendToFile(const std::string& path, std::string_view data);

// Copies src over dst in the same safe way as writeFileReplacing.
int32_t copyFileReplacing(const std::string& src, const std::string& dst);

// Holds an advisory lock (on the file's folder, which a save never replaces)
// for as long as it lives, so that two copies of the program never interleave
// a read-modify-save of the same file. A lock that cannot be had within a few
// seconds is not waited for.
class FileLock {
public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool locked() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

bool fileExists(const std::string& path);
bool dirExists(const std::string& path);
// True when the path's last part exists but is no folder (a file, a link or
// a pipe), in an existing folder.
bool nameTaken(const std::string& path);
// Creates the folder with every missing parent; true when it exists afterwards.
bool makeDirs(const std::string& path);
int32_t removeFile(const std::string& path);

// Folder texts end in "/"; this appends one when missing (not to an empty text).
std::string withSlash(std::string dir);
// The folder part of a path, ending in "/" (empty when the path names no folder).
std::string folderOf(const std::string& path);
// The file-name part of a path.
std::string nameOf(const std::string& path);
// The path with its file-name part upper-cased (ASCII letters); the folders
// keep their letter case.
std::string upperCaseFileName(const std::string& path);

} // namespace fileio
