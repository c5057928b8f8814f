// A temporary folder for one test, removed afterwards; paths end in "/".
#pragma once

#include <QTemporaryDir>
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
