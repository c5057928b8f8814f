// SPDX-License-Identifier: GPL-3.0-or-later
// File error codes and their texts. Every message about a file that cannot be
// opened, read or written ends with IOErrorText of the failed operation's code.
#pragma once

#include "common/Reporter.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

// The codes the program reports.
enum IOCode : int32_t {
    IOOk = 0,
    IOFileNotFound = 2,
    IOPathNotFound = 3,
    IOTooManyOpenFiles = 4,
    IOAccessDenied = 5,
    // A named pipe, a device or a socket where a file was expected: reading
    // it could wait forever or never end.
    IONotRegularFile = 7,
    // A file too large to be read whole; it is never read in part.
    IOFileTooLarge = 8,
    IOEndOfFile = 100,
    IODiskFull = 101,
    IOInvalidNumber = 106,
};

std::string IOErrorText(int32_t code);

// A file that could not be opened, read or written: "File Error", the file's
// name and, on the next line, the error text of the code.
Message fileFaultMessage(const std::string& path, int32_t ioCode);

// The one mapping from the operating system's errors (errno values) to the
// codes above; errors without a code of their own give 1000 + their errno
// value, so that they never read as one of the codes above.
int32_t ioCodeFromErrno(int err);
int32_t ioCodeFromError(const std::error_code& ec);

// The code for a browser's failed read of a file the user chose (the name of
// the DOMException): a file gone since it was chosen is "File Not Found!", a
// file the browser may not read "File Access Denied!", any other failure an
// input/output error (EIO) as ioCodeFromErrno gives it.
int32_t ioCodeFromDomError(std::string_view name);

// The code for a file of the browser edition's own site that could not be
// fetched: a file the server does not have (HTTP 404, 410) is "File Not
// Found!", one it refuses (401, 403) "File Access Denied!", any other
// failure (no answer at all, 0; a server error) an input/output error.
int32_t ioCodeFromHttpStatus(int status);
