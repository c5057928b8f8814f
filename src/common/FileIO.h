// Whole-file reads and safe whole-file writes, reporting the program's file
// error codes (FileErrors.h) instead of throwing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace fileio {

// Reads at most maxBytes of the file into out. A file longer than maxBytes is
// read up to maxBytes + 1 bytes so that callers can tell that it is too long.
// Returns 0 or the file error code.
// opened, when given, tells whether the file could be opened at all.
int32_t readFile(const std::string& path, std::string& out, std::size_t maxBytes = 64u << 20,
                 bool* opened = nullptr);

// Writes data to a new file of its own name beside path and, once every byte
// is written and flushed, renames it over path and flushes the folder. On
// failure path is left as it was. The new file keeps the old one's
// permissions and group; a symbolic link is kept and its target replaced. An
// existing file that may not be written is not replaced. opened, when given,
// tells whether the new file could be created at all.
int32_t writeFileReplacing(const std::string& path, std::string_view data, bool* opened = nullptr);

// For tests: a failure injected at a stage of writeFileReplacing (the code to
// fail with, or 0 to go on). An empty function removes it.
enum class WriteStage { Create, Write, Finish };
using WriteFault = std::function<int32_t(WriteStage)>;
void setWriteFault(WriteFault fault);

// Appends data with one write call (O_APPEND), creating the file when absent,
// so that blocks appended by several programs never interleave.
int32_t appendToFile(const std::string& path, std::string_view data);

// Copies src over dst in the same safe way as writeFileReplacing.
int32_t copyFileReplacing(const std::string& src, const std::string& dst);

bool fileExists(const std::string& path);
bool dirExists(const std::string& path);
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
