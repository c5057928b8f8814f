// SPDX-License-Identifier: GPL-3.0-or-later
// A print surface that records what was placed where, for tests.
#pragma once

#include "platform/Printing.h"

#include <QString>
#include <memory>
#include <vector>

class RecordingPrinter : public PrintSurface {
public:
    struct Item {
        int page;
        int x, y;
        QString text; // empty for a picture
        QString font;
    };

    // Fixed metrics: every character is charWidth wide, lines lineHeight high.
    int charWidth = 10;
    int lineHeight = 16;
    int width = 2000;
    int height = 2600;

    std::vector<Item> items;
    int pages = 1;
    bool ended = false;
    QString currentFont;
    // Failures to inject: a new page that the printer refuses, an end in error.
    bool failNewPage = false;
    bool failEnd = false;

    void setFont(const QString& family, int points, bool fixedPitch, bool bold) override;
    int textHeight(const QString&) override { return lineHeight; }
    int textWidth(const QString& t) override { return charWidth * int(t.size()); }
    void drawText(int x, int y, const QString& text) override;
    void drawImage(const QRect& target, const QImage& image) override;
    void newPage() override {
        ++pages;
        if (failNewPage) reason = QStringLiteral("The printer could not start a new page.");
    }
    int pageWidth() const override { return width; }
    int pageHeight() const override { return height; }
    bool endDocument() override {
        ended = true;
        return !failEnd && reason.isEmpty();
    }
    QString failureReason() const override { return reason; }
    QString reason;

    // The texts placed on one page, top to bottom.
    std::vector<QString> textsOnPage(int page) const;
};

// A surface for the program that records into rec, which outlives it.
std::unique_ptr<PrintSurface> surfaceRecordingInto(RecordingPrinter& rec);
