// SPDX-License-Identifier: GPL-3.0-or-later
// The seven-segment readout and the toggle switch.
#include "widgets/DialogUtil.h"
#include "widgets/SevenSegment.h"
#include "widgets/ToggleSwitch.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(SevenSegment, ShowsValuesInItsPlacesOrDashesWhenTheyDoNotFit) {
    struct Case {
        long double value;
        int digits, decimals;
        bool sign;
        const char* shown;
    };
    const Case cases[] = {
        {2454321.25L, 12, 5, false, "2454321.25000"},
        {1.769L, 7, 5, false, " 1.76900"},
        {323.0L, 4, 1, false, "323.0"},
        {1.512L, 4, 2, true, "  1.51"},
        {-1.8L, 4, 2, true, " -1.80"},
        {-0.001L, 4, 2, true, "  0.00"}, // rounds to zero: no minus
        {-2.9L, 6, 4, false, "-2.9000"}, // no sign place: the minus takes a digit
        {-12.9L, 6, 4, false, "------"},
        {1049.5L, 4, 1, false, "----"},
        {12345.0L, 4, 0, true, "-----"},
        {std::nanl(""), 4, 1, false, "----"},
        {0.0L, 6, 4, false, " 0.0000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SevenSegment::readoutText(c.value, c.digits, c.decimals, c.sign), c.shown)
            << double(c.value);
}

TEST(SevenSegment, PowerOffBlanksAndColourIsTheSegmentsPen) {
    SevenSegment s(4, 2, true);
    s.setValue(-1.25L);
    EXPECT_EQ(s.shownText(), " -1.25");
    EXPECT_EQ(s.digitCount(), 5);
    s.setPoweredOn(false);
    EXPECT_EQ(s.shownText(), "");
    EXPECT_EQ(s.value(), -1.25L);
    s.setPoweredOn(true);
    EXPECT_EQ(s.shownText(), " -1.25");
    s.setSegmentColour(Qt::white);
    EXPECT_EQ(s.palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(s.palette().color(QPalette::Window), QColor(Qt::black));

    // Lit segments in the colour, nothing else on black.
    s.resize(120, 40);
    s.setSegmentColour(QColor(0, 255, 0));
    QImage lit = s.grab().toImage();
    int green = 0;
    for (int x = 3; x < lit.width() - 3; ++x)
        for (int y = 3; y < lit.height() - 3; ++y) {
            const QColor c = lit.pixelColor(x, y);
            if (c == QColor(0, 255, 0)) ++green;
            ASSERT_TRUE(c.red() == 0 && c.blue() == 0) << x << "," << y; // segments or black
        }
    EXPECT_GT(green, 50);
    s.setPoweredOn(false);
    const QImage off = s.grab().toImage();
    for (int x = 3; x < off.width() - 3; ++x)
        for (int y = 3; y < off.height() - 3; ++y)
            ASSERT_EQ(off.pixelColor(x, y), QColor(Qt::black));
}

TEST(ToggleSwitch, OnlyTheUserFlipsItWithAnEvent) {
    ToggleSwitch t;
    t.resize(t.sizeHint());
    QSignalSpy spy(&t, &ToggleSwitch::changed);
    t.setActive(true);
    EXPECT_TRUE(t.isActive());
    EXPECT_EQ(spy.count(), 0);
    QTest::mouseClick(&t, Qt::LeftButton);
    EXPECT_FALSE(t.isActive());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toBool(), false);
    QTest::keyClick(&t, Qt::Key_Space);
    EXPECT_TRUE(t.isActive());
    EXPECT_EQ(spy.count(), 2);
    QTest::mouseClick(&t, Qt::RightButton);
    EXPECT_EQ(spy.count(), 2);
    t.setEnabled(false);
    QTest::mouseClick(&t, Qt::LeftButton);
    EXPECT_TRUE(t.isActive());
    EXPECT_EQ(spy.count(), 2);
    // The lever is drawn at the end of its position.
    t.setEnabled(true);
    const QImage right = t.grab().toImage();
    t.setActive(false);
    const QImage left = t.grab().toImage();
    EXPECT_NE(right, left);
}

TEST(SevenSegment, AScreenReaderHearsItsCaptionAndTheValueShown) {
    SevenSegment s(7, 5, false);
    s.setValue(1.769L);
    EXPECT_EQ(s.accessibleName(), ""); // no caption yet
    s.setCaption("Period (Days)");
    EXPECT_EQ(s.accessibleName(), "Period (Days): 1.76900");
    s.setValue(-12345678.0L);
    EXPECT_EQ(s.accessibleName(), "Period (Days): -------");
    s.setPoweredOn(false);
    EXPECT_EQ(s.accessibleName(), "Period (Days)");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&s)->text(QAccessible::Name), "Period (Days)");
}

TEST(ToggleSwitch, AScreenReaderFindsANamedCheckBoxItCanFlip) {
    ToggleSwitch t;
    QSignalSpy spy(&t, &ToggleSwitch::changed);
    t.setCaption("Slider Sensitivity", "Coarse", "Fine");
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&t);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::CheckBox);
    EXPECT_EQ(a->text(QAccessible::Name), "Slider Sensitivity: Coarse");
    EXPECT_TRUE(a->state().checkable);
    EXPECT_FALSE(a->state().checked);
    t.setActive(true); // by the program: no event
    EXPECT_EQ(a->text(QAccessible::Name), "Slider Sensitivity: Fine");
    EXPECT_TRUE(a->state().checked);
    EXPECT_EQ(spy.count(), 0);
    // Toggled through the screen reader, as by a click.
    a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(t.isActive());
    ASSERT_EQ(spy.count(), 1);
    t.setEnabled(false);
    EXPECT_TRUE(a->actionInterface()->actionNames().isEmpty());
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(t.isActive());
    EXPECT_EQ(spy.count(), 1);
}

TEST(DialogButtons, OkIsTheDefaultAndComesBeforeCancelInAButtonBox) {
    QDialog dialog;
    QPushButton *ok = nullptr, *cancel = nullptr;
    QDialogButtonBox* box = okCancelButtons(&dialog, ok, cancel, "&OK", "&Cancel");
    dialog.resize(300, 60);
    box->setGeometry(0, 0, 300, 40);
    dialog.show();
    EXPECT_EQ(ok->text(), "&OK");
    EXPECT_EQ(cancel->text(), "&Cancel");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(box->buttonRole(ok), QDialogButtonBox::AcceptRole);
    EXPECT_EQ(box->buttonRole(cancel), QDialogButtonBox::RejectRole);
    EXPECT_LT(ok->x(), cancel->x());
}

} // namespace
