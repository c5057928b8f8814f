// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/RecordingPrinter.h"

#include <algorithm>

void RecordingPrinter::setFont(const QString& family, int points, bool fixedPitch, bool bold) {
    currentFont = QStringLiteral("%1 %2%3%4")
                      .arg(family)
                      .arg(points)
                      .arg(fixedPitch ? " fixed" : "")
                      .arg(bold ? " bold" : "");
}

void RecordingPrinter::drawText(int x, int y, const QString& text) {
    items.push_back({pages, x, y, text, currentFont});
}

void RecordingPrinter::drawImage(const QRect& target, const QImage&) {
    items.push_back({pages, target.x(), target.y(), QString(), currentFont});
}

std::vector<QString> RecordingPrinter::textsOnPage(int page) const {
    std::vector<Item> onPage;
    for (const auto& i : items)
        if (i.page == page && !i.text.isNull()) onPage.push_back(i);
    std::stable_sort(onPage.begin(), onPage.end(),
                     [](const Item& a, const Item& b) { return a.y < b.y; });
    std::vector<QString> out;
    for (const auto& i : onPage) out.push_back(i.text);
    return out;
}

namespace {
class Forwarding : public PrintSurface {
public:
    explicit Forwarding(RecordingPrinter& rec) : rec_(rec) {}
    void setFont(const QString& f, int p, bool fixed, bool bold) override {
        rec_.setFont(f, p, fixed, bold);
    }
    int textHeight(const QString& t) override { return rec_.textHeight(t); }
    int textWidth(const QString& t) override { return rec_.textWidth(t); }
    void drawText(int x, int y, const QString& t) override { rec_.drawText(x, y, t); }
    void drawImage(const QRect& r, const QImage& i) override { rec_.drawImage(r, i); }
    void newPage() override { rec_.newPage(); }
    int pageWidth() const override { return rec_.pageWidth(); }
    int pageHeight() const override { return rec_.pageHeight(); }
    bool endDocument() override { return rec_.endDocument(); }
    QString failureReason() const override { return rec_.failureReason(); }

private:
    RecordingPrinter& rec_;
};
} // namespace

std::unique_ptr<PrintSurface> surfaceRecordingInto(RecordingPrinter& rec) {
    return std::make_unique<Forwarding>(rec);
}
