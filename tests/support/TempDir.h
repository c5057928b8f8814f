// SPDX-License-Identifier: GPL-3.0-or-later
// A temporary folder for one test, removed afterwards; paths end in "/".
#pragma once

#include "common/FileIO.h"

#include <QTemporaryDir>
#include <memory>
#include <string>

class TempDir {
public:
    TempDir() : dir_(QDir::tempPath() + "/quorvex-test-XXXXXX") {}
    std::string path() const { return dir_.path().toStdString() + "/"; }
    std::string file(const std::string& name) const { return path() + name; }

private:
    QTemporaryDir dir_;
};

// Writes bytes to a file (creating folders); returns the path.
std::string writeTestFile(const std::string& path, const std::string& bytes);
std::string readTestFile(const std::string& path);

// Makes the nth whole-file save from now fail at a stage with a file error
// code, for as long as the object lives.
class WriteFaultScope {
public:
    WriteFaultScope(fileio::WriteStage stage, int32_t code, int nth = 1) {
        auto saves = std::make_shared<int>(0);
        fileio::setWriteFault([=](fileio::WriteStage at) {
            if (at == fileio::WriteStage::Create) ++*saves;
            return at == stage && *saves == nth ? code : 0;
        });
    }
    ~WriteFaultScope() { fileio::setWriteFault({}); }
    WriteFaultScope(const WriteFaultScope&) = delete;
    WriteFaultScope& operator=(const WriteFaultScope&) = delete;
};
