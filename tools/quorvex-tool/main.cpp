// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool: the command-line companion for instructors and lab
// administrators. It shares the engine and the file codecs with the program
// and never needs a display.
#include "ToolCommand.h"

#include "common/Reporter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>

std::vector<ToolCommand>& toolCommands() {
    static std::vector<ToolCommand> commands;
    return commands;
}

ToolCommandRegistrar::ToolCommandRegistrar(ToolCommand cmd) {
    toolCommands().push_back(std::move(cmd));
}

std::string toolFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return exe.parent_path().string() + "/";
}

int usageError(const std::string& message) {
    std::cerr << "quorvex-tool: " << message << "\n(see quorvex-tool --help)\n";
    return ToolUsage;
}

namespace {

void printHelp() {
    auto commands = toolCommands();
    std::sort(commands.begin(), commands.end(),
              [](const ToolCommand& a, const ToolCommand& b) { return a.name < b.name; });
    std::cout << "usage: quorvex-tool COMMAND [ARGUMENTS]\n\n"
                 "The command-line companion of the Jupiter's moons exercise.\n\n"
                 "Commands:\n";
    for (const auto& c : commands) std::cout << c.synopsis << "\n";
    std::cout << "\nExit status: 0 success, 1 failure, 2 usage error.\n";
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        printHelp();
        return ToolUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp();
        return ToolOk;
    }
    StderrReporter stderrReporter;
    setReporter(&stderrReporter);
    for (const auto& c : toolCommands())
        if (c.name == args[0]) return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
    return usageError("unknown command '" + args[0] + "'");
}
