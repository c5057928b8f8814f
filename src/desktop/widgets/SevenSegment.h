// SPDX-License-Identifier: GPL-3.0-or-later
// A seven-segment numeric readout: a fixed number of digit places, a fixed
// number of decimals, an optional sign place, a segment colour on black, and
// a power switch. Segments that are off are never drawn; powered off, the
// readout is blank. A screen reader hears its caption and the value it
// shows ("Period (Days): 1.76900"), kept current.
#pragma once

#include <QColor>
#include <QLCDNumber>
#include <QString>

class SevenSegment : public QLCDNumber {
    Q_OBJECT
public:
    // digits counts the digit places (the decimal point takes none); with
    // showSign one more place holds "-" or a blank.
    SevenSegment(int digits, int decimals, bool showSign, QWidget* parent = nullptr);

    void setValue(long double value);
    long double value() const { return value_; }
    void setDigits(int digits);
    int digits() const { return digits_; }
    void setDecimals(int decimals);
    int decimals() const { return decimals_; }
    void setShowSign(bool show);
    bool showSign() const { return showSign_; }
    void setSegmentColour(const QColor& colour);
    QColor segmentColour() const { return colour_; }
    void setPoweredOn(bool on);
    bool poweredOn() const { return powered_; }
    // What the readout is, as its label on the window says.
    void setCaption(const QString& caption);
    QString caption() const { return caption_; }

    // The characters lit now: empty when powered off.
    QString shownText() const { return shown_; }

    // What a readout shows for value: the value with decimals, right-aligned
    // in the places; a negative value keeps its "-" (in the sign place, or in
    // a digit place without one). A value that does not fit, or is not a
    // number, shows a dash in every place.
    static QString readoutText(long double value, int digits, int decimals, bool showSign);

private:
    void refresh();

    long double value_ = 0.0L;
    int digits_;
    int decimals_;
    bool showSign_;
    bool powered_ = true;
    QColor colour_{0, 255, 0};
    QString shown_;
    QString caption_;
};
