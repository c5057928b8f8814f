// SPDX-License-Identifier: GPL-3.0-or-later
#include "IconFile.h"

#include <cstdint>

namespace {

void put16(QByteArray& out, uint32_t v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}
void put32(QByteArray& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Directory, one entry, then a bottom-up BITMAPINFOHEADER picture of double
// height: the 32-bit colour rows and then the 1-bit AND mask (1 = transparent).
QByteArray iconLikeFile(const QImage& source, uint16_t type, uint16_t field1, uint16_t field2) {
    const QImage img = source.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    const uint32_t maskRow = uint32_t((w + 31) / 32 * 4);
    const uint32_t pixelBytes = uint32_t(w * h * 4) + maskRow * uint32_t(h);
    const uint32_t payload = 40 + pixelBytes;
    QByteArray out;
    put16(out, 0);    // reserved
    put16(out, type); // 1 icon, 2 cursor
    put16(out, 1);    // one picture
    out.append(char(w >= 256 ? 0 : w));
    out.append(char(h >= 256 ? 0 : h));
    out.append(char(0)); // no palette
    out.append(char(0)); // reserved
    put16(out, field1);
    put16(out, field2);
    put32(out, payload);
    put32(out, 6 + 16);
    put32(out, 40);
    put32(out, uint32_t(w));
    put32(out, uint32_t(2 * h));
    put16(out, 1);  // planes
    put16(out, 32); // bits per pixel
    put32(out, 0);  // no compression
    put32(out, pixelBytes);
    for (int i = 0; i < 4; ++i)
        put32(out, 0); // resolution, palette counts
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x)
            put32(out, line[x]); // B, G, R, A in the file
    }
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        QByteArray row(int(maskRow), '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(line[x]) == 0) row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        out.append(row);
    }
    return out;
}

} // namespace

QByteArray iconFileBytes(const QImage& image) {
    return iconLikeFile(image, 1, 1, 32);
}

QByteArray cursorFileBytes(const QImage& image, QPoint hotSpot) {
    return iconLikeFile(image, 2, uint16_t(hotSpot.x()), uint16_t(hotSpot.y()));
}
