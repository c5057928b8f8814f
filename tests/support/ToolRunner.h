// SPDX-License-Identifier: GPL-3.0-or-later
// Runs quorvex-tool from the build's bin folder and captures its output.
#pragma once

#include <string>
#include <vector>

struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
};

// program: another copy of the tool (the default is the build's).
ToolResult runTool(const std::vector<std::string>& args, const std::string& program = {});
