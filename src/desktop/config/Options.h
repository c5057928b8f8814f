// SPDX-License-Identifier: GPL-3.0-or-later
// OptsObj: the owner of the stored options. At creation it finds a writable
// working folder (falling back to the per-user folder, then to a folder the
// user picks), finds the CD-ROM drive, and loads "JUP_OPTS.INI" from the
// working folder, from the program folder, or falls back to the defaults.
#pragma once

#include "lab/OptionsRecord.h"

#include <map>
#include <string>

class OptsObj {
public:
    struct Folders {
        std::string exeDir;     // the program's folder
        std::string currentDir; // the current folder at start
    };

    // Creates the object and runs the creation steps with the running
    // program's folders.
    OptsObj(const std::string& optsFileName, const std::string& progVersion);
    // The same with given folders. With create false nothing but the names is
    // set; a derived class then calls Create() so that its hooks take part.
    OptsObj(const std::string& optsFileName, const std::string& progVersion, const Folders& folders,
            bool create = true);
    virtual ~OptsObj() = default;

    // The creation steps: folders, write test and fallbacks, load, CD-ROM drive.
    void Create();

    // Reads one options file into the record; true when the whole file was read.
    bool Load(const std::string& path);
    // Every saved field, FileVersion and the default password.
    void SetDefaults();
    // Writes the saved fields to folder + OptsFileName, keeping the previous
    // file as the backup.
    bool Save(const std::string& folder);

    static bool IsWriteProtected(const std::string& folder);
    std::string FindCDDrive();

    static void EncodePassword(std::string_view text, std::array<uint32_t, 4>& code,
                               uint8_t& length) {
        ::EncodePassword(text, code, length);
    }
    static std::string DecodePassword(const std::array<uint32_t, 4>& code, uint8_t length) {
        return ::DecodePassword(code, length);
    }

    OptionsRecord Options;
    bool MultiUserPlatform = true;
    // Set when the user declined to provide a writable folder: the program ends.
    bool TerminateRequested = false;

protected:
    // Called after the last field has been read, before the end-of-file test.
    virtual void AfterLoad() {}
    // Called after the last field has been written, before the file is closed.
    virtual void BeforeClose() {}

private:
    Folders folders_;
    // The stamp of each options file as this copy last read or wrote it.
    std::map<std::string, fileio::FileStamp> seen_;
};

// The folder of the running program and the current folder, ending in "/".
std::string programFolder();
std::string currentFolder();
