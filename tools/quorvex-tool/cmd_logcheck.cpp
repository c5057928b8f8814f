// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool log-check: whether every account of a group can append its
// log-in blocks to a shared activity log.
#include "ToolCommand.h"

#include "common/LogAccess.h"

#include <grp.h>
#include <iostream>
#include <string>

namespace {

int run(const std::vector<std::string>& args) {
    if (args.size() != 1 && !(args.size() == 3 && args[1] == "--group"))
        return usageError("usage: quorvex-tool log-check FILE [--group NAME]");
    const std::string& path = args[0];
    gid_t gid = 0;
    if (args.size() == 3) {
        const std::string& name = args[2];
        if (const group* g = ::getgrnam(name.c_str())) {
            gid = g->gr_gid;
        } else if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos &&
                   name.size() < 10) {
            gid = gid_t(std::stoul(name));
        } else {
            return usageError("no group named '" + name + "'");
        }
    } else if (!defaultLogGroup(path, gid)) {
        std::cerr << "quorvex-tool: " << path << ": its folder does not exist\n";
        return ToolFailed;
    }
    const group* g = ::getgrgid(gid);
    const std::string name = g ? g->gr_name : std::to_string(gid);
    const LogAccessCheck check = checkLogAccess(path, gid);
    if (!check.appendable) {
        std::cerr << "quorvex-tool: " << path << " is not appendable by group " << name << ": "
                  << check.reason << "\n";
        return ToolFailed;
    }
    std::cout << path << " is appendable by group " << name << "\n";
    return ToolOk;
}

ToolCommandRegistrar reg({"log-check",
                          "  log-check FILE [--group NAME]\n"
                          "                               whether every account of the group "
                          "can append to\n"
                          "                               the activity log (exit 1 saying why "
                          "not)",
                          run});

} // namespace
