// SPDX-License-Identifier: GPL-3.0-or-later
// The printing seam: a small page interface that every printing window draws
// through. The program's implementation drives a QPrinter (or a PDF file); the
// tests record what was placed where.
#pragma once

#include <QImage>
#include <QPageLayout>
#include <QRect>
#include <QString>
#include <memory>

class QPagedPaintDevice;
class QPainter;

struct PrintRequest {
    QString title;                                       // document title
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

class PrintSurface {
public:
    virtual ~PrintSurface() = default;
    // Fonts are given by family and size in points; "Courier" and "MS Sans
    // Serif" are mapped to the installed Liberation faces.
    virtual void setFont(const QString& family, int points, bool fixedPitch = false,
                         bool bold = false) = 0;
    virtual int textHeight(const QString& text) = 0; // in surface units
    virtual int textWidth(const QString& text) = 0;
    // Draws text with its top-left corner at (x, y).
    virtual void drawText(int x, int y, const QString& text) = 0;
    virtual void drawImage(const QRect& target, const QImage& image) = 0;
    virtual void newPage() = 0;
    virtual int pageWidth() const = 0;  // printable width in surface units
    virtual int pageHeight() const = 0; // printable height in surface units
    // Finishes the document (sends it to the printer or closes the file);
    // false when the printout failed on the way or at its end.
    virtual bool endDocument() = 0;
    // Why the printout failed, where the surface knows it (empty otherwise).
    virtual QString failureReason() const { return {}; }
};

// "Print Error": "Unable to print." and the surface's reason.
void reportPrintFailure(const PrintSurface& surface);
// Ends the document and reports a failed printout; true when it succeeded.
bool endPrintDocument(PrintSurface& surface);

// A surface painting on a paged device (a QPrinter or a QPdfWriter) that the
// surface does not own; the painter begins on construction.
class PainterPrintSurface : public PrintSurface {
public:
    explicit PainterPrintSurface(QPagedPaintDevice* device);
    ~PainterPrintSurface() override;
    void setFont(const QString& family, int points, bool fixedPitch, bool bold) override;
    int textHeight(const QString& text) override;
    int textWidth(const QString& text) override;
    void drawText(int x, int y, const QString& text) override;
    void drawImage(const QRect& target, const QImage& image) override;
    void newPage() override;
    int pageWidth() const override;
    int pageHeight() const override;
    bool endDocument() override;
    QString failureReason() const override { return failure_; }
    bool isActive() const;

private:
    QPagedPaintDevice* device_;
    std::unique_ptr<QPainter> painter_;
    QString failure_; // the first failure, kept for the report
};

// The printer could not begin the document: said so, and nothing to print on.
// Otherwise the surface, begun.
std::unique_ptr<PrintSurface> begunOrReported(std::unique_ptr<PainterPrintSurface> surface);

// A surface writing a PDF file; used by "print to file" and by tests.
std::unique_ptr<PrintSurface> makePdfSurface(const QString& path, const PrintRequest& request);

// The present date and time as printed at the top of a page: numeric and
// locale-free, month-day-year as the program's other dates.
QString printDateTimeText();

// Maps the program's historical font names to installed families.
QString mapFontFamily(const QString& family);
