// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Printing.h"

#include "lab/PageHeaderText.h"
#include "platform/Desktop.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPdfWriter>

QString printDateTimeText() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return QString::fromStdString(
        printoutDateTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()));
}

QString mapFontFamily(const QString& family) {
    const QString f = family.toLower();
    if (f == "courier" || f == "courier new") return QStringLiteral("Liberation Mono");
    if (f == "ms sans serif" || f == "arial") return QStringLiteral("Liberation Sans");
    if (f == "times new roman") return QStringLiteral("Liberation Serif");
    return family;
}

PainterPrintSurface::PainterPrintSurface(QPagedPaintDevice* device)
    : device_(device), painter_(std::make_unique<QPainter>()) {
    painter_->begin(device_);
}

PainterPrintSurface::~PainterPrintSurface() {
    if (painter_->isActive()) painter_->end();
}

bool PainterPrintSurface::isActive() const { return painter_->isActive(); }

void PainterPrintSurface::setFont(const QString& family, int points, bool fixedPitch, bool bold) {
    QFont font(mapFontFamily(family));
    font.setPointSize(points > 0 ? points : 10);
    font.setFixedPitch(fixedPitch);
    if (fixedPitch) font.setStyleHint(QFont::TypeWriter);
    font.setBold(bold);
    painter_->setFont(font);
}

int PainterPrintSurface::textHeight(const QString&) {
    return QFontMetrics(painter_->font(), device_).height();
}

int PainterPrintSurface::textWidth(const QString& text) {
    return QFontMetrics(painter_->font(), device_).horizontalAdvance(text);
}

void PainterPrintSurface::drawText(int x, int y, const QString& text) {
    const QFontMetrics fm(painter_->font(), device_);
    painter_->drawText(QPoint(x, y + fm.ascent()), text);
}

void PainterPrintSurface::drawImage(const QRect& target, const QImage& image) {
    painter_->drawImage(target, image);
}

void PainterPrintSurface::newPage() {
    if (!device_->newPage() && failure_.isEmpty())
        failure_ = QStringLiteral("The printer could not start a new page.");
}

int PainterPrintSurface::pageWidth() const {
    return device_->width();
}
int PainterPrintSurface::pageHeight() const {
    return device_->height();
}

bool PainterPrintSurface::endDocument() {
    if (!painter_->isActive()) return false;
    if (!painter_->end() && failure_.isEmpty())
        failure_ = QStringLiteral("The printer could not finish the document.");
    return failure_.isEmpty();
}

void reportPrintFailure(const PrintSurface& surface) {
    const QString reason = surface.failureReason();
    showMessage(QStringLiteral("Print Error"),
                QStringLiteral("Unable to print.") +
                    (reason.isEmpty() ? QString() : QStringLiteral("\n\n") + reason),
                MsgIcon::Error);
}

bool endPrintDocument(PrintSurface& surface) {
    if (surface.endDocument()) return true;
    reportPrintFailure(surface);
    return false;
}

std::unique_ptr<PrintSurface> begunOrReported(std::unique_ptr<PainterPrintSurface> surface) {
    if (surface->isActive()) return surface;
    showMessage(QStringLiteral("Print Error"),
                QStringLiteral("Unable to print.\n\nThe printer could not begin the document."),
                MsgIcon::Error);
    return nullptr;
}

namespace {

// A PDF surface owns its writer.
class PdfSurface : public PainterPrintSurface {
public:
    explicit PdfSurface(std::unique_ptr<QPdfWriter> writer)
        : PainterPrintSurface(writer.get()), writer_(std::move(writer)) {}
    ~PdfSurface() override { endDocument(); }

private:
    std::unique_ptr<QPdfWriter> writer_; // destroyed after the painter has ended
};

} // namespace

std::unique_ptr<PrintSurface> makePdfSurface(const QString& path, const PrintRequest& request) {
    auto writer = std::make_unique<QPdfWriter>(path);
    writer->setTitle(request.title);
    writer->setResolution(300);
    writer->setPageOrientation(request.orientation);
    writer->setPageSize(QPageSize(QPageSize::Letter));
    writer->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    return begunOrReported(std::make_unique<PdfSurface>(std::move(writer)));
}
