// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RotationImages.h"

#include "common/FileIO.h"
#include "common/Pixels.h"
#include "platform/PictureFile.h"

#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

namespace {

bool fileStamp(const std::string& path, int64_t& size, int64_t& modifiedNs) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    size = int64_t(st.st_size);
    modifiedNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

} // namespace

std::string RotationImagePath(const std::string& exeDir, const std::string& imagesFolder,
                              int number) {
    number = (number - 1) % kRotationImageCount;
    if (number < 0) number += kRotationImageCount;
    char name[16];
    std::snprintf(name, sizeof name, "Jup%03d.BMP", number + 1);
    std::string folder = imagesFolder;
    std::replace(folder.begin(), folder.end(), '\\', '/');
    return exeDir + fileio::withSlash(folder) + name;
}

QRect RotationImageRect(QSize pictureSize, int magnification, QPoint centre) {
    const long double m = std::clamp(magnification, 1, 4);
    const int w = roundToPixel(pictureSize.width() * m / kImageScaleDivisor);
    const int h = roundToPixel(pictureSize.height() * m / kImageScaleDivisor);
    return QRect(centre.x() - w / 2, centre.y() - h / 2, w, h);
}

const QImage& PlainDiscImage() {
    static const QImage disc = [] {
        QImage img(kRotationImageWidth, kRotationImageHeight, QImage::Format_RGB32);
        img.fill(Qt::black);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(210, 180, 140));
        p.drawEllipse(QRectF(0, 0, kRotationImageWidth, kRotationImageHeight));
        p.end();
        return img;
    }();
    return disc;
}

RotationImageCache::RotationImageCache(std::size_t capacity)
    : capacity_(std::max<std::size_t>(capacity, 1)) {}

RotationImageCache::Picture RotationImageCache::load(const std::string& path) {
    int64_t size = 0, modified = 0;
    const bool exists = fileStamp(path, size, modified);
    auto it = entries_.find(path);
    if (it != entries_.end()) {
        Entry& e = it->second;
        if (exists && e.fileSize == size && e.modifiedNs == modified) {
            recent_.splice(recent_.begin(), recent_, e.recent);
            return {e.image, e.fallback};
        }
        recent_.erase(e.recent);
        entries_.erase(it);
    }
    // A missing file is looked for again at the next drawing.
    if (!exists) return {PlainDiscImage(), true};

    ++fileReads_;
    QImage img = loadPictureFile(path);
    const bool fallback = img.isNull();
    if (fallback) img = PlainDiscImage();
    // An unreadable file is remembered with its stamp too, so it is not decoded
    // again at every drawing, but read again once it changes.
    if (entries_.size() >= capacity_) {
        entries_.erase(recent_.back());
        recent_.pop_back();
    }
    recent_.push_front(path);
    entries_.emplace(path, Entry{img, fallback, size, modified, recent_.begin()});
    return {img, fallback};
}
