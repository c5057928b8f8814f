// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/FileErrors.h"

#include <cerrno>

std::string IOErrorText(int32_t code) {
    switch (code) {
    case 2: return "File Not Found!";
    case 3: return "Path Not Found!";
    case 4: return "Too Many Open Files!";
    case 5: return "File Access Denied!";
    case 7: return "Not a Regular File!";
    case 8: return "File Too Large!";
    case 100: return "EOF!";
    case 101: return "Disk Full!";
    case 106: return "Invalid Input!";
    default: return "IOResult = " + std::to_string(code);
    }
}

Message fileFaultMessage(const std::string& path, int32_t ioCode) {
    return {"File Error", path + "\n" + IOErrorText(ioCode), MsgIcon::Error, BtnOk};
}

int32_t ioCodeFromErrno(int err) {
    switch (err) {
    case 0: return IOOk;
    case ENOENT: return IOFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return IOPathNotFound;
    case ENXIO: // a named pipe opened for writing that nobody reads
    case ENODEV: return IONotRegularFile;
    case EMFILE:
    case ENFILE: return IOTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return IOAccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return IODiskFull;
    case EOVERFLOW: return IOFileTooLarge;
    // Other errors keep their number, moved clear of the program's own codes
    // (EIO is 5 on Linux, which would read as "File Access Denied!").
    default: return 1000 + err;
    }
}

int32_t ioCodeFromError(const std::error_code& ec) {
    if (!ec) return IOOk;
    if (ec.category() == std::generic_category() || ec.category() == std::system_category())
        return ioCodeFromErrno(ec.value());
    return ec.value();
}

int32_t ioCodeFromDomError(std::string_view name) {
    if (name == "NotFoundError") return IOFileNotFound;
    if (name == "NotReadableError" || name == "SecurityError" || name == "NotAllowedError")
        return IOAccessDenied;
    return ioCodeFromErrno(EIO);
}

int32_t ioCodeFromHttpStatus(int status) {
    if (status == 404 || status == 410) return IOFileNotFound;
    if (status == 401 || status == 403) return IOAccessDenied;
    return ioCodeFromErrno(EIO);
}
