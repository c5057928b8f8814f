// SPDX-License-Identifier: GPL-3.0-or-later
// Screen cursors from Windows cursor files (".CUR"). The toolkit decodes the
// picture but not the hot spot, which the file keeps in its directory entry
// (in the fields an icon file uses for planes and bit count).
#pragma once

#include <QCursor>
#include <QImage>
#include <QPoint>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The first picture of a cursor file as its directory describes it, after
// every field has been checked against the file.
struct CursorDirectoryEntry {
    int width = 0, height = 0;     // 1..256
    QPoint hotSpot;                // inside the picture
    uint32_t offset = 0, size = 0; // the picture's bytes in the file
};
std::optional<CursorDirectoryEntry> readCursorDirectory(std::string_view bytes);

struct CursorPicture {
    QImage image; // ARGB32, the size the directory gives
    QPoint hotSpot;
};
// The picture and hot spot of a cursor file, or nothing for a damaged file.
std::optional<CursorPicture> decodeCursorFile(std::string_view bytes);

// The cursor in the file at path, or nothing when it is missing or damaged.
// Needs the GUI application.
std::optional<QCursor> loadCursorFile(const std::string& path);
