// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PictureFile.h"

#include "common/FileIO.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

namespace {
// Far larger than any picture the program shows; a file claiming more is not one.
constexpr int kMaxPictureSide = 4096;
} // namespace

QImage loadPictureFile(const std::string& path) {
    std::string bytes;
    if (fileio::readFile(path, bytes) != 0) return {};
    QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize claimed = reader.size();
    if (claimed.isValid() &&
        (claimed.width() > kMaxPictureSide || claimed.height() > kMaxPictureSide))
        return {};
    QImage img = reader.read();
    if (img.isNull() || img.width() > kMaxPictureSide || img.height() > kMaxPictureSide) return {};
    return img.hasAlphaChannel() ? img.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                 : img.convertToFormat(QImage::Format_RGB32);
}
