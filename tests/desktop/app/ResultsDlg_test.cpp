// SPDX-License-Identifier: GPL-3.0-or-later
// The entry dialog: its texts, OK, Cancel, modeless recording and modal editing.
#include "app/ResultsDlg.h"
#include "support/FakeSession.h"
#include "support/MeasurementSamples.h"
#include "support/ScriptedDesktop.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// 2008-03-07 21:30 UT.
constexpr long double kInstant = 2454532.5L + 21.5L / 24.0L;

class ResultsDlgTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(desk.allAnswersUsed()); }
    QStringList boxes() const {
        QStringList out;
        for (int m = 1; m <= 4; ++m)
            out << dlg.Box(m)->text();
        return out;
    }
    void type(const QStringList& texts) {
        for (int m = 1; m <= 4; ++m)
            dlg.Box(m)->setText(texts[m - 1]);
    }
    static Message invalid(const std::string& moon) {
        return {"Invalid Data!", "Measured value for " + moon + " is incorrect!", MsgIcon::Error,
                BtnOk};
    }

    ScriptedDesktop desk;
    FakeSession session;
    TResultsForm1 dlg{session};
};

TEST_F(ResultsDlgTest, ShowsThePendingRecordEachTimeRecordShowsIt) {
    dlg.PendingRecord =
        record(kInstant, -1.23f, NoMeasurement, 2.5f, 0.0f, {true, true, false, true});
    dlg.ShowForRecording();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.isModal());
    EXPECT_TRUE(dlg.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(dlg.windowTitle(), "Record/Edit Measurements");
    EXPECT_EQ(dlg.JDLbl->text(), "Julian Day: 2454533.39583");
    EXPECT_EQ(dlg.DTLbl->text(), "03-07-2008  21Hr 30Min 00Sec");
    EXPECT_EQ(dlg.InstructionLbl->text(), "(Enter Jupiter Diameters \"E\"ast or \"W\"est)");
    QStringList labels;
    for (QLabel* l : dlg.MoonLbl)
        labels << l->text();
    EXPECT_EQ(labels, (QStringList{"Io (1):", "Europa (2):", "Ganymede (3):", "Callisto (4):"}));
    EXPECT_EQ(boxes(), (QStringList{"1.23E", "", "2.50W*", "0.00W"}));
    EXPECT_EQ(dlg.IOEd->objectName(), "IOEd");
    EXPECT_EQ(dlg.CallistoEd->objectName(), "CallistoEd");

    // "Record" again while the dialog is open: the cursor reading went into the record.
    dlg.PendingRecord.Offset[2] = 0.75f;
    dlg.ShowForRecording();
    EXPECT_EQ(boxes(), (QStringList{"1.23E", "0.75W", "2.50W*", "0.00W"}));
}

TEST_F(ResultsDlgTest, OkStopsAtTheFirstBadBoxAndClosesOnceAllAreRead) {
    dlg.PendingRecord = record(kInstant, NoMeasurement, NoMeasurement, 3.0f, NoMeasurement);
    dlg.ShowForRecording();
    type({"1.25 w", "0.8", "2.0E*", ""});
    desk.answerMessage(MsgResult::Ok);
    dlg.OKBtnClick();
    EXPECT_EQ(desk.messages, std::vector<Message>{invalid("Europa")});
    EXPECT_TRUE(dlg.EntryError);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FLOAT_EQ(dlg.PendingRecord.Offset[1], 1.25f); // read before the bad box
    EXPECT_EQ(dlg.PendingRecord.Offset[3], 3.0f);        // not read in this pass
    EXPECT_FALSE(session.pendingStored);

    dlg.EuropaEd->setText("0.8e");
    dlg.OKBtnClick();
    EXPECT_FALSE(dlg.EntryError);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FLOAT_EQ(dlg.PendingRecord.Offset[2], -0.8f);
    EXPECT_FLOAT_EQ(dlg.PendingRecord.Offset[3], -2.0f);
    EXPECT_FALSE(dlg.PendingRecord.Included[3]);
    EXPECT_EQ(dlg.PendingRecord.Offset[4], NoMeasurement);

    // A letter alone is as bad as a number without one.
    dlg.ShowForRecording();
    type({"W", "", "", ""});
    desk.answerMessage(MsgResult::Ok);
    dlg.OKBtnClick();
    EXPECT_EQ(desk.messages.back(), invalid("Io"));
}

TEST_F(ResultsDlgTest, CancelAndEscapeCloseAndKeepThePendingRecord) {
    const MeasurementRec filled =
        record(kInstant, 1.5f, NoMeasurement, NoMeasurement, NoMeasurement);
    dlg.PendingRecord = filled;
    session.pendingStored = true; // an automatic fill, not confirmed with OK
    for (bool escape : {false, true}) {
        dlg.ShowForRecording();
        type({"9.99W", "1E", "", ""});
        if (escape)
            dlg.reject();
        else
            dlg.CancelBtn->click();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(encodeMeasurementRec(dlg.PendingRecord), encodeMeasurementRec(filled));
        EXPECT_TRUE(session.pendingStored);
    }
}

TEST_F(ResultsDlgTest, StoreResetAndFlushKeepTheSessionFlags) {
    // Nothing usable: nothing stored, the flags stay.
    dlg.PendingRecord =
        record(kInstant, 0.0f, NoMeasurement, 2.0f, NoMeasurement, {true, true, false, true});
    session.pendingStored = false;
    EXPECT_FALSE(dlg.StorePending());
    EXPECT_TRUE(dlg.Table.IsEmpty());
    EXPECT_FALSE(session.pendingStored);
    EXPECT_TRUE(session.dataSaved);

    // Flush runs OK on the open dialog, then stores and resets.
    dlg.ShowForRecording();
    dlg.IOEd->setText("0.5E");
    dlg.Flush();
    EXPECT_FALSE(dlg.isVisible());
    ASSERT_EQ(dlg.Table.Count(), 1);
    EXPECT_FLOAT_EQ(dlg.Table.GoToIndex(0)->Offset[1], -0.5f);
    EXPECT_TRUE(dlg.Table.MeasurementsChanged);
    EXPECT_TRUE(session.pendingStored);
    EXPECT_FALSE(session.dataSaved);
    EXPECT_EQ(session.dataMenusEnabled, 1);
    EXPECT_EQ(encodeMeasurementRec(dlg.PendingRecord), encodeMeasurementRec(MeasurementRec{}));
    EXPECT_EQ(boxes(), (QStringList{"", "", "", ""}));

    // A stored pending record is not stored twice.
    dlg.Flush();
    EXPECT_EQ(dlg.Table.Count(), 1);
}

TEST_F(ResultsDlgTest, EditingIsModalAndPutsTheRecordingInProgressBack) {
    const MeasurementRec recording =
        record(kInstant + 1, 2.0f, NoMeasurement, NoMeasurement, NoMeasurement);
    dlg.PendingRecord = recording;
    session.pendingStored = false;
    dlg.ShowForRecording();

    const MeasurementRec stored = record(kInstant, -1.23f, NoMeasurement, 2.5f, 10.07f);
    desk.answerMessage(MsgResult::Ok);
    desk.onDialog([this](QDialog& d) {
        EXPECT_EQ(&d, &dlg);
        EXPECT_TRUE(dlg.ModalEntry);
        EXPECT_TRUE(dlg.EditingExisting);
        EXPECT_EQ(dlg.JDLbl->text(), "Julian Day: 2454533.39583");
        EXPECT_EQ(boxes(), (QStringList{"1.23E", "", "2.50W", "10.07W"}));
        dlg.GanymedeEd->setText("2.50W*");
        dlg.CallistoEd->setText("ten");
        dlg.OKBtnClick(); // stays open on the bad box
        EXPECT_TRUE(dlg.isVisible());
        dlg.CallistoEd->setText("10.07w");
        dlg.OKBtnClick();
        EXPECT_FALSE(dlg.isVisible());
    });
    MeasurementRec edited;
    EXPECT_TRUE(dlg.EditExisting(stored, edited));
    EXPECT_EQ(desk.messages, std::vector<Message>{invalid("Callisto")});
    EXPECT_FALSE(edited.Included[3]);
    EXPECT_EQ(edited.JulianDate, stored.JulianDate);
    EXPECT_FALSE(dlg.ModalEntry);
    EXPECT_FALSE(dlg.EditingExisting);
    // The recording is as it was, still to be stored, and its dialog open again.
    EXPECT_EQ(encodeMeasurementRec(dlg.PendingRecord), encodeMeasurementRec(recording));
    EXPECT_FALSE(session.pendingStored);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.isModal());
    EXPECT_EQ(boxes()[0], "2.00W");

    // Cancel (or Escape) ends the modal dialog with nothing taken.
    dlg.hide();
    desk.onDialog([this](QDialog&) {
        dlg.IOEd->setText("5W");
        dlg.CancelBtn->click();
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_FALSE(dlg.EditExisting(stored, edited));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(encodeMeasurementRec(dlg.PendingRecord), encodeMeasurementRec(recording));
}

TEST(EntryDialogPosition, BesideTheMainWindowRightLeftOrBelowWithinTheWorkArea) {
    const QSize dlg(250, 300);
    const QRect screen(0, 0, 1280, 1024);
    const struct {
        QRect main, area;
        QPoint at;
    } cases[] = {
        {QRect(100, 100, 640, 480), screen, QPoint(744, 100)},                // right
        {QRect(700, 100, 560, 480), screen, QPoint(446, 100)},                // left
        {QRect(0, 0, 1280, 500), screen, QPoint(0, 504)},                     // below
        {QRect(100, 900, 400, 100), screen, QPoint(504, 724)},                // right, moved up
        {QRect(0, 0, 1280, 900), screen, QPoint(0, 724)},                     // no room: clamped
        {QRect(100, 40, 640, 480), QRect(0, 40, 1280, 984), QPoint(744, 40)}, // below a panel
        {QRect(-50, 100, 640, 480), QRect(0, 0, 600, 400), QPoint(350, 100)}, // tiny screen
    };
    for (const auto& c : cases) {
        const QPoint at = EntryDialogPosition(c.main, dlg, c.area);
        EXPECT_EQ(at, c.at) << c.main.x() << "," << c.main.y();
        EXPECT_TRUE(c.area.contains(QRect(at, dlg)));
    }
}

} // namespace
