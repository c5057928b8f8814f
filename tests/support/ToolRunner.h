// Runs quorvex-tool from the build's bin folder and captures its output.
#pragma once

#include <string>
#include <vector>

struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
};

ToolResult runTool(const std::vector<std::string>& args);
