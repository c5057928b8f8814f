// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/LogAccess.h"

#include "common/FileIO.h"

#include <cstdio>
#include <grp.h>
#include <sys/stat.h>

namespace {

std::string groupName(gid_t gid) {
    if (const group* g = ::getgrgid(gid)) return g->gr_name;
    return std::to_string(gid);
}

std::string modeText(mode_t mode) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04o", unsigned(mode & 07777));
    return buf;
}

// The permission bits (r=4, w=2, x=1) that the group's accounts get.
unsigned groupBits(const struct stat& st, gid_t gid) {
    return st.st_gid == gid ? (st.st_mode >> 3) & 7 : st.st_mode & 7;
}

std::string folderName(const std::string& path) {
    const std::string f = fileio::folderOf(path);
    return f.empty() ? std::string(".") : f;
}

} // namespace

LogAccessCheck checkLogAccess(const std::string& path, gid_t gid) {
    const std::string g = groupName(gid);
    const std::string folder = folderName(path);
    struct stat dir {};
    if (::stat(folder.c_str(), &dir) != 0 || !S_ISDIR(dir.st_mode))
        return {false, "its folder " + folder + " does not exist"};
    const unsigned dirBits = groupBits(dir, gid);
    if ((dirBits & 1) == 0)
        return {false, "group " + g + " may not enter its folder " + folder + " (mode " +
                           modeText(dir.st_mode) + ")"};
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        // The first log-in creates it, writable by the folder's group when the
        // folder is set-group-id, else by the creator's own group only.
        if ((dirBits & 2) == 0)
            return {false, "it does not exist and group " + g + " may not create it in " + folder +
                               " (mode " + modeText(dir.st_mode) + ")"};
        if (dir.st_gid != gid || (dir.st_mode & S_ISGID) == 0)
            return {false, "it does not exist and " + folder +
                               " is not a set-group-id folder of group " + g +
                               ": a new log would belong to its creator's own group"};
        return {true, {}};
    }
    if (S_ISLNK(st.st_mode))
        return {false, "it is a symbolic link, which the program does not append through"};
    if (!S_ISREG(st.st_mode)) return {false, "it is not a regular file"};
    if ((groupBits(st, gid) & 2) == 0)
        return {false, "it belongs to group " + groupName(st.st_gid) + " with mode " +
                           modeText(st.st_mode) + ", which group " + g + " may not write"};
    return {true, {}};
}

bool defaultLogGroup(const std::string& path, gid_t& gid) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 && ::stat(folderName(path).c_str(), &st) != 0) return false;
    gid = st.st_gid;
    return true;
}
