// SPDX-License-Identifier: GPL-3.0-or-later
// A temporary folder for one test, removed afterwards; paths end in "/".
// Standard library only, so that the core's tests run on every platform.
#pragma once

#include "common/FileIO.h"

#include <memory>
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path() const { return dir_ + "/"; }
    std::string file(const std::string& name) const { return path() + name; }

private:
    std::string dir_;
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
