// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CursorFile.h"

#include "common/Codecs.h"
#include "common/FileIO.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPixmap>

namespace {

constexpr std::size_t kDirectoryHeader = 6, kDirectoryEntry = 16;
// A 256 x 256 picture of 32 bits with its mask is about 270 KB.
constexpr std::size_t kMaxCursorFileBytes = 1u << 20;
constexpr uint32_t kBitmapInfoHeader = 40, kBitmapV5Header = 124;

const uint8_t* at(std::string_view bytes, std::size_t offset) {
    return reinterpret_cast<const uint8_t*>(bytes.data()) + offset;
}

// The picture's own header must agree with the directory, so that the decoder
// allocates no more than the directory promises and finds every row it reads.
bool payloadAgrees(std::string_view payload, int width, int height) {
    static constexpr char kPng[] = "\x89PNG\r\n\x1a\n";
    if (payload.size() >= 8 && payload.substr(0, 8) == std::string_view(kPng, 8)) {
        // Signature, then the IHDR chunk: length 13, type, width, height (big-endian).
        if (payload.size() < 8 + 8 + 13 || payload.substr(12, 4) != "IHDR") return false;
        auto be32 = [&](std::size_t o) {
            const uint8_t* p = at(payload, o);
            return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
        };
        return be32(8) == 13 && be32(16) == uint32_t(width) && be32(20) == uint32_t(height);
    }
    if (payload.size() < kBitmapInfoHeader) return false;
    const uint32_t headerSize = codec::getU32(at(payload, 0));
    const int32_t w = codec::getI32(at(payload, 4)), h = codec::getI32(at(payload, 8));
    const uint16_t planes = codec::getU16(at(payload, 12)), bits = codec::getU16(at(payload, 14));
    const uint32_t compression = codec::getU32(at(payload, 16));
    const uint32_t coloursUsed = codec::getU32(at(payload, 32));
    if (headerSize < kBitmapInfoHeader || headerSize > kBitmapV5Header || w != width ||
        h != 2 * height || planes != 1 || compression != 0)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
    uint64_t palette = 0;
    if (bits <= 8) {
        const uint32_t most = 1u << bits;
        if (coloursUsed > most) return false;
        palette = 4ull * (coloursUsed ? coloursUsed : most);
    }
    // Rows are padded to 32 bits: the colour rows, then the 1-bit AND mask.
    const uint64_t colourRow = (uint64_t(width) * bits + 31) / 32 * 4;
    const uint64_t maskRow = (uint64_t(width) + 31) / 32 * 4;
    const uint64_t needed = headerSize + palette + (colourRow + maskRow) * uint64_t(height);
    return needed <= payload.size();
}

} // namespace

std::optional<CursorDirectoryEntry> readCursorDirectory(std::string_view bytes) {
    if (bytes.size() < kDirectoryHeader + kDirectoryEntry) return std::nullopt;
    const uint16_t reserved = codec::getU16(at(bytes, 0)), type = codec::getU16(at(bytes, 2));
    const uint16_t count = codec::getU16(at(bytes, 4));
    if (reserved != 0 || type != 2 || count == 0 ||
        kDirectoryHeader + kDirectoryEntry * std::size_t(count) > bytes.size())
        return std::nullopt;
    // The first entry: width and height (0 meaning 256), colour count,
    // reserved, hot spot x and y, byte count, offset.
    const uint8_t* e = at(bytes, kDirectoryHeader);
    CursorDirectoryEntry entry;
    entry.width = e[0] ? e[0] : 256;
    entry.height = e[1] ? e[1] : 256;
    entry.hotSpot = QPoint(codec::getU16(e + 4), codec::getU16(e + 6));
    entry.size = codec::getU32(e + 8);
    entry.offset = codec::getU32(e + 12);
    if (entry.hotSpot.x() >= entry.width || entry.hotSpot.y() >= entry.height) return std::nullopt;
    const uint64_t end = uint64_t(entry.offset) + entry.size;
    if (entry.size == 0 || entry.offset < kDirectoryHeader + kDirectoryEntry * std::size_t(count) ||
        end > bytes.size())
        return std::nullopt;
    if (!payloadAgrees(bytes.substr(entry.offset, entry.size), entry.width, entry.height))
        return std::nullopt;
    return entry;
}

std::optional<CursorPicture> decodeCursorFile(std::string_view bytes) {
    const std::optional<CursorDirectoryEntry> entry = readCursorDirectory(bytes);
    if (!entry) return std::nullopt;
    QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "cur");
    QImage img = reader.read();
    if (img.isNull() || img.width() != entry->width || img.height() != entry->height)
        return std::nullopt;
    return CursorPicture{img.convertToFormat(QImage::Format_ARGB32), entry->hotSpot};
}

std::optional<QCursor> loadCursorFile(const std::string& path) {
    std::string bytes;
    if (fileio::readFile(path, bytes, kMaxCursorFileBytes) != 0) return std::nullopt;
    const std::optional<CursorPicture> picture = decodeCursorFile(bytes);
    if (!picture) return std::nullopt;
    return QCursor(QPixmap::fromImage(picture->image), picture->hotSpot.x(), picture->hotSpot.y());
}
