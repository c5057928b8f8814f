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
