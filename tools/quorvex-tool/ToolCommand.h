// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool subcommands register themselves here, one source file each.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Exit statuses: 0 success, 1 a failure while doing the work (a file that
// cannot be read or written), 2 a usage error.
enum ToolExit { ToolOk = 0, ToolFailed = 1, ToolUsage = 2 };

struct ToolCommand {
    std::string name;
    std::string synopsis; // one or more lines for --help
    std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<ToolCommand>& toolCommands();

struct ToolCommandRegistrar {
    explicit ToolCommandRegistrar(ToolCommand cmd);
};

// The folder of the running tool, ending in "/" (where the data files are).
std::string toolFolder();

// Writes "quorvex-tool: message" to standard error and returns ToolUsage.
int usageError(const std::string& message);
