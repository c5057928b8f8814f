// SPDX-License-Identifier: GPL-3.0-or-later
// "Rotation BMPs": the 573 pictures of Jupiter's turning disc that the
// telescope view draws, their file names, a cache of the decoded pictures and
// the plain disc shown in place of a picture that cannot be read.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>

inline constexpr int kRotationImageCount = 573;
// The installed pictures: the disc fills the width, the height carries the
// polar flattening.
inline constexpr int kRotationImageWidth = 248;
inline constexpr int kRotationImageHeight = 232;
// The view draws a picture at magnification m (1..4, for 100X..400X) m / 12.4
// times its size.
inline constexpr double kImageScaleDivisor = 12.4;

// exeDir (ending in "/") + imagesFolder + "/" + "Jup" + the number in three
// digits + ".BMP"; picture 62 is "Jup062.BMP". A "\" in the folder text
// becomes "/". A number outside 1..573 is taken round the turn into it.
std::string RotationImagePath(const std::string& exeDir, const std::string& imagesFolder,
                              int number);

// Where the view draws a picture of pictureSize at magnification m (1..4):
// round(size x m / 12.4) in each direction, halves to even, the left edge
// centre.x - (width div 2) and the top edge centre.y - (height div 2).
QRect RotationImageRect(QSize pictureSize, int magnification, QPoint centre);

// The stand-in for a picture that cannot be read: a plain tan flattened disc
// filling 248 x 232 on black.
const QImage& PlainDiscImage();

// Decoded pictures by path. A picture is read once and drawn from memory
// afterwards; it is read again when the file's size or modification time
// changes. The least recently used picture leaves when the cache is full.
class RotationImageCache {
public:
    // By default one whole turn fits, so the animation runs from memory after
    // its first turn.
    explicit RotationImageCache(std::size_t capacity = kRotationImageCount);

    struct Picture {
        QImage image;
        bool fallback = false; // image is PlainDiscImage()
    };
    // The picture at path, or the plain disc when it cannot be read. No message.
    Picture load(const std::string& path);

    std::size_t size() const { return entries_.size(); }
    // Decodes from files since construction.
    std::size_t fileReads() const { return fileReads_; }

private:
    struct Entry {
        QImage image;
        bool fallback = false;
        int64_t fileSize = 0;
        int64_t modifiedNs = 0;
        std::list<std::string>::iterator recent;
    };
    std::size_t capacity_;
    std::size_t fileReads_ = 0;
    std::unordered_map<std::string, Entry> entries_;
    std::list<std::string> recent_; // most recently used first
};
