// SPDX-License-Identifier: GPL-3.0-or-later
// Whether every account of a group can append to a shared activity log: the
// program appends log-in blocks without following links, to a regular file
// only, and creates a missing log readable by all and writable by its group.
#pragma once

#include <string>
#include <sys/types.h>

struct LogAccessCheck {
    bool appendable = false;
    std::string reason; // why not, in a sentence; empty when appendable
};

// The answer for the log at path and the group gid.
LogAccessCheck checkLogAccess(const std::string& path, gid_t gid);

// The group to check when none is given: the log's group, or for a log not
// made yet, its folder's group. False when neither exists.
bool defaultLogGroup(const std::string& path, gid_t& gid);
