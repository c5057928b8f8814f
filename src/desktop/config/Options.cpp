// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/Options.h"

#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "config/StrInput.h"
#include "platform/Desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Folder texts are cut to 184 characters when they are set at creation.
constexpr std::size_t kFolderTextLimit = 184;

std::string cutFolder(const std::string& s) {
    return codec::utf8Left(s, kFolderTextLimit);
}

} // namespace

std::string programFolder() {
    return fileio::withSlash(QCoreApplication::applicationDirPath().toStdString());
}

std::string currentFolder() {
    return fileio::withSlash(QDir::currentPath().toStdString());
}

OptsObj::OptsObj(const std::string& optsFileName, const std::string& progVersion)
    : OptsObj(optsFileName, progVersion, Folders{programFolder(), currentFolder()}) {}

OptsObj::OptsObj(const std::string& optsFileName, const std::string& progVersion,
                 const Folders& folders, bool create)
    : folders_(folders) {
    // The names from the arguments, the backup name derived.
    Options.ProgVersion = codec::utf8Left(progVersion, kS71);
    Options.OptsFileName = codec::utf8Left(optsFileName, kS71);
    Options.BakFileName = backupFileName(Options.OptsFileName);
    if (create) Create();
}

void OptsObj::Create() {
    // The program folder and the working folder.
    Options.ExeDir = cutFolder(fileio::withSlash(folders_.exeDir));
    Options.WorkDir = cutFolder(fileio::withSlash(folders_.currentDir));
    // This platform has per-user folders.
    MultiUserPlatform = true;
    // A working folder that cannot be written falls back to the
    // per-user folder, then to one the user picks.
    if (MultiUserPlatform && IsWriteProtected(Options.WorkDir)) {
        std::string home = desktop().homeFolder().toStdString();
        if (home.empty()) {
            std::string user = codec::utf8Left(desktop().userName().toStdString(), 66);
            if (user.empty()) user = "ORVA User";
            home = "/home/" + user;
        }
        const std::string perUser = fileio::withSlash(home) + "ORVA/Orbexa/";
        if (fileio::makeDirs(perUser)) {
            QDir::setCurrent(QString::fromStdString(perUser));
            Options.WorkDir = cutFolder(perUser);
        } else {
            const MsgResult answer =
                report("Write-Enabled Storage Required",
                       "Path \"" + Options.WorkDir + "\" is write-protected!\n\n" +
                           "You must provide a path to write-enabled storage.  " +
                           "If you are using removable storage,\n" +
                           "such as a USB device, please mount it before continuing, " +
                           "then select it in the dialog that follows.",
                       MsgIcon::Stop, BtnOk | BtnCancel);
            if (answer != MsgResult::Ok) {
                TerminateRequested = true;
                return;
            }
            const QString chosen = desktop().chooseFolder(
                QStringLiteral("Select a Write-Enabled Folder"), QString::fromStdString(perUser));
            if (chosen.isEmpty()) {
                TerminateRequested = true;
                return;
            }
            Options.WorkDir = cutFolder(fileio::withSlash(chosen.toStdString()));
        }
    }
    // The working folder's file, the program folder's, or the defaults.
    if (!Load(Options.WorkDir + Options.OptsFileName)) {
        const bool loaded =
            Options.WorkDir != Options.ExeDir && Load(Options.ExeDir + Options.OptsFileName);
        if (!loaded) SetDefaults();
    }
    Options.Administrator = false;
    // The CD-ROM drive is settled only now that the options name the pictures'
    // folder: the drive is there to find the rotation pictures on a disc, so the
    // question is asked only when they are not where the options say.
    Options.CDDrive =
        QFileInfo(QString::fromStdString(Options.ExeDir + Options.ImagesFolder)).isDir()
            ? desktop().cdromMountPoint().toStdString()
            : FindCDDrive();
}

bool OptsObj::IsWriteProtected(const std::string& folder) {
    // A folder is writable when a new file can be created in it. The
    // probe gets a name of its own and is made only when nothing has that
    // name, so that it never opens, empties or removes a file that was there
    // (nor one a link of that name points at).
    std::string probe = folder + "Test.tmp.XXXXXX";
    const int fd = ::mkostemp(probe.data(), O_CLOEXEC);
    if (fd < 0) return true;
    ::close(fd);
    ::unlink(probe.c_str());
    return false;
}

std::string OptsObj::FindCDDrive() {
    const QString mount = desktop().cdromMountPoint();
    if (!mount.isEmpty()) return mount.toStdString();
    TStrIpDlg dlg;
    dlg.Value.clear();
    dlg.Caption = QStringLiteral("CDROM Drive?");
    dlg.Prompt = QStringLiteral("Please Enter Drive Letter of CDROM:");
    if (desktop().execDialog(dlg) != QDialog::Accepted) return {};
    // A typed answer is kept as typed: there are no drive letters here.
    return dlg.Value.toStdString();
}

bool OptsObj::Load(const std::string& path) {
    // A missing or unreadable file fails silently; a rejected one is reported.
    fileio::FileStamp stamp;
    const bool loaded = loadOptionsFile(
        path, Options, [this] { AfterLoad(); }, &stamp);
    // What this copy saw there, read or not: a save asks before replacing
    // what another copy of the program wrote since.
    seen_[path] = stamp.exists ? stamp : fileio::stampOf(path);
    return loaded;
}

void OptsObj::SetDefaults() {
    setOptionsDefaults(Options);
}

bool OptsObj::Save(const std::string& folder) {
    if (Options.EditMode) {
        const MsgResult sure =
            report("Are You Sure?",
                   "Edit Mode is Set!\n\nStudents using this software in Edit Mode will be able "
                   "to access/change data values and program options.\n\n"
                   "Are you sure you want to save these option settings?",
                   MsgIcon::Stop, BtnYes | BtnNo);
        if (sure != MsgResult::Yes) return false;
    }
    const std::string file = folder + Options.OptsFileName;
    const auto seen = seen_.find(file);
    if (seen != seen_.end() && fileio::stampOf(file) != seen->second) {
        const MsgResult overwrite =
            report("Options Changed!",
                   "Options File " + file +
                       " was changed by another copy of the program after it was read.\n\n"
                       "Do you want to replace those changes with these option settings?",
                   MsgIcon::Warning, BtnYes | BtnNo);
        if (overwrite != MsgResult::Yes) return false;
    }
    OptionsSaveResult result;
    {
        const fileio::FileLock lock(file);
        result = writeOptionsFile(Options, folder, [this] { BeforeClose(); });
        if (result.code == 0) seen_[file] = fileio::stampOf(file);
    }
    if (result.code != 0) {
        report("Options File Error!",
               "Unable to save Options!\n\nFileName: " + result.file + "\n" +
                   IOErrorText(result.code),
               MsgIcon::Error);
        return false;
    }
    return true;
}
