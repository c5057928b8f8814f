// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/SevenSegment.h"

#include "lab/AnalysisTexts.h"

#include <QPalette>
#include <algorithm>
#include <cmath>

SevenSegment::SevenSegment(int digits, int decimals, bool showSign, QWidget* parent)
    : QLCDNumber(parent), digits_(std::max(1, digits)), decimals_(std::max(0, decimals)),
      showSign_(showSign) {
    setSegmentStyle(QLCDNumber::Flat);
    setSmallDecimalPoint(true);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);
    setSegmentColour(colour_);
    refresh();
}

QString SevenSegment::readoutText(long double value, int digits, int decimals, bool showSign) {
    return QString::fromStdString(ReadoutText(value, digits, decimals, showSign));
}

void SevenSegment::setValue(long double value) {
    value_ = value;
    refresh();
}

void SevenSegment::setDigits(int digits) {
    digits_ = std::max(1, digits);
    refresh();
}

void SevenSegment::setDecimals(int decimals) {
    decimals_ = std::max(0, decimals);
    refresh();
}

void SevenSegment::setShowSign(bool show) {
    showSign_ = show;
    refresh();
}

void SevenSegment::setSegmentColour(const QColor& colour) {
    colour_ = colour;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, colour);
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
}

void SevenSegment::setPoweredOn(bool on) {
    powered_ = on;
    refresh();
}

void SevenSegment::setCaption(const QString& caption) {
    caption_ = caption;
    refresh();
}

void SevenSegment::refresh() {
    const int places = digits_ + (showSign_ ? 1 : 0);
    setDigitCount(places);
    shown_ = powered_ ? readoutText(value_, digits_, decimals_, showSign_) : QString();
    display(powered_ ? shown_ : QString(places, QLatin1Char(' ')));
    // Blank, the readout says only what it is; the segments' own value would
    // be read as a number in exponent form.
    const QString value = shown_.trimmed();
    const QString name =
        value.isEmpty() || caption_.isEmpty() ? caption_ : caption_ + QStringLiteral(": ") + value;
    if (name != accessibleName()) setAccessibleName(name);
}
