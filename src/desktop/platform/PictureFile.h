// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures read from files through the file unit, so that a named pipe, a
// device or an oversized file in a picture's place is never waited on or
// read in part.
#pragma once

#include <QImage>
#include <string>

// The picture in the file (any format the toolkit reads, told by its
// contents), in a form that draws fast; a null image when it cannot be read.
QImage loadPictureFile(const std::string& path);
