// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the telescope view's picture of Jupiter: a rotation picture taken
// from the cache (as at every redraw of the animation) and drawn stretched at
// 400X into the view.
#include "app/RotationImages.h"

#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

const std::string kPicture = RotationImagePath(QV_BIN_DIR "/", "Rotation BMPs", 62);

void BM_RotationImageCacheHit(benchmark::State& state) {
    RotationImageCache cache;
    cache.load(kPicture);
    for (auto _ : state)
        benchmark::DoNotOptimize(cache.load(kPicture).image.constBits());
    state.counters["file_reads"] = double(cache.fileReads());
}
BENCHMARK(BM_RotationImageCacheHit);

// Argument 1: with smooth scaling.
void BM_DrawStretched400X(benchmark::State& state) {
    RotationImageCache cache;
    QImage view(628, 326, QImage::Format_RGB32);
    QPainter p(&view);
    p.setRenderHint(QPainter::SmoothPixmapTransform, state.range(0) != 0);
    const QRect rect = RotationImageRect(QSize(248, 232), 4, QPoint(314, 163));
    for (auto _ : state) {
        const RotationImageCache::Picture pic = cache.load(kPicture);
        p.drawImage(RotationImageRect(pic.image.size(), 4, QPoint(314, 163)), pic.image);
        benchmark::ClobberMemory();
    }
    state.counters["width"] = rect.width();
    state.counters["height"] = rect.height();
}
BENCHMARK(BM_DrawStretched400X)->Arg(0)->Arg(1);

// The whole field: black, then the picture.
void BM_ClearAndDraw400X(benchmark::State& state) {
    RotationImageCache cache;
    QImage view(628, 326, QImage::Format_RGB32);
    QPainter p(&view);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (auto _ : state) {
        p.fillRect(view.rect(), Qt::black);
        const RotationImageCache::Picture pic = cache.load(kPicture);
        p.drawImage(RotationImageRect(pic.image.size(), 4, QPoint(314, 163)), pic.image);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ClearAndDraw400X);

} // namespace
