// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex-tool help-files: the help files that go with the program (or with
// the browser edition's site): the topic lists and every help text file
// they name.
#include "ToolCommand.h"

#include "lab/Helplst.h"
#include "lab/OptionsRecord.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace {

int run(const std::vector<std::string>& args) {
    std::vector<std::string> lists = args;
    std::vector<std::string> names;
    const OptionsRecord defaults = defaultOptionsRecord();
    if (lists.empty()) {
        for (const std::string* n :
             {&defaults.MainHelpList, &defaults.AnalHelpList, &defaults.TopViewHelpList})
            if (!n->empty()) lists.push_back(toolFolder() + *n);
        for (const auto& topic : {onHelpTopic(defaults), userHelpTopic(defaults)})
            if (topic) names.push_back(topic->FileName);
    }
    auto add = [&names](const std::string& name) {
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    };
    int status = ToolOk;
    for (const std::string& path : lists) {
        if (path.starts_with("-")) return usageError("usage: quorvex-tool help-files [LIST...]");
        HelpList list;
        if (!list.Load(path)) {
            status = ToolFailed;
            continue;
        }
        add(path.substr(path.find_last_of('/') + 1));
        for (const HelpTopicEntry& e : list.entries())
            if (e.isTopic()) add(e.FileName);
    }
    for (const std::string& n : names)
        std::cout << n << "\n";
    return status;
}

ToolCommandRegistrar reg({"help-files",
                          "  help-files [LIST...]         the topic lists (the default options' "
                          "three beside the\n"
                          "                               tool when none is given) and every help "
                          "file they name,\n"
                          "                               one a line",
                          run});

} // namespace
