// SPDX-License-Identifier: GPL-3.0-or-later
// Observing through the main window: the crosshair on the view, recording,
// stepping and animating the clock, the eclipse stop, saving and loading the
// measurements, and the end of the exercise with unsaved data.
#include "DeskFixture.h"
#include "analysis/FeaturesDlg.h"
#include "analysis/OrbtAnal.h"
#include "analysis/PhenomList.h"
#include "app/RsltsList.h"
#include "analysis/SatOrrery.h"
#include "analysis/TimingDlg.h"
#include "app/EyepieceView.h"
#include "ephemeris/StringUt.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

using ObservingTest = DeskTest;

QPoint pixelOf(TOrbexaForm1& f, int moon) {
    return QPoint(f.MoonPixelsNow[moon].x, f.MoonPixelsNow[moon].y);
}

void placeCrosshair(TOrbexaForm1& f, QPoint at) {
    QTest::mousePress(f.Upper->Image1, Qt::LeftButton, {}, at);
    QTest::mouseRelease(f.Upper->Image1, Qt::LeftButton, {}, at);
}

// Io measured on one night, and the clock on to the next.
void recordIoAndGoOn(TOrbexaForm1& f) {
    placeCrosshair(f, pixelOf(f, 1));
    f.RecordBtnClick();
    f.NextBtnClick();
}

// True when the moon can be measured at the magnification: drawn, on the view.
bool measurable(TOrbexaForm1& f, int moon) {
    const SatelliteState& s = SatelliteStates[moon];
    const QPoint p = pixelOf(f, moon);
    return !s.Occulted && !s.Eclipsed && p.x() > 0 && p.y() > 0 && p.x() < kViewWidth &&
           p.y() < kViewHeight;
}

TEST_F(ObservingTest, TenNightsOfCrosshairReadingsFillTenRecords) {
    auto form = runDemonstration("2024/11/15", "02:00:00");
    const long double first = ToJulianDate(form->S.ObservationInstant);
    std::vector<PerMoon<long double>> truth;
    std::vector<PerMoon<bool>> measured;
    for (int night = 0; night < 10; ++night) {
        PerMoon<long double> t;
        PerMoon<bool> m;
        for (int moon = 1; moon <= 4; ++moon) {
            t[moon] = SatelliteStates[moon].EarthX / 2;
            if (!measurable(*form, moon)) continue;
            placeCrosshair(*form, pixelOf(*form, moon));
            EXPECT_EQ(form->CursorMoon, moon);
            EXPECT_TRUE(form->Lower->RecordBtn->isEnabled());
            form->Lower->RecordBtn->click();
            EXPECT_TRUE(form->Entry->isVisible());
            m[moon] = true;
        }
        truth.push_back(t);
        measured.push_back(m);
        form->Lower->NextBtn->click();
    }
    EXPECT_NEAR(double(ToJulianDate(form->S.ObservationInstant) - first), 10.0, 1e-9);
    const std::vector<MeasurementRec> table = form->Entry->Table.records();
    ASSERT_EQ(table.size(), 10u);
    for (int night = 0; night < 10; ++night) {
        EXPECT_NEAR(double(table[night].JulianDate), double(first + night), 1e-9);
        for (int moon = 1; moon <= 4; ++moon) {
            if (!measured[night][moon]) {
                EXPECT_EQ(table[night].Offset[moon], NoMeasurement);
                continue;
            }
            // One pixel at 100X is 0.05 diameters; the pixel is the nearest.
            EXPECT_NEAR(table[night].Offset[moon], double(truth[night][moon]), 0.0251)
                << "night " << night << " moon " << moon;
        }
    }
    EXPECT_FALSE(form->S.DataSaved);
    EXPECT_TRUE(form->ReviewData1->isEnabled());
}

TEST_F(ObservingTest, TheCrosshairReadsAndIdentifiesAndRecordWaitsForAPlacement) {
    auto form = runDemonstration("2024/11/15", "02:00:00");
    EXPECT_FALSE(form->Lower->RecordBtn->isEnabled());
    placeCrosshair(*form, QPoint(294, 100));
    EXPECT_EQ(form->Lower->CrsrLbl->text(), "X: 294, Y: 100");
    EXPECT_EQ(form->Lower->RdngLbl->text(), "X = 1.00E (Jup. Diam.)    ");
    EXPECT_EQ(form->CursorReading, -1.0f);
    EXPECT_TRUE(form->Lower->RecordBtn->isEnabled());
    // A drag leaving the view keeps the last reading inside it.
    QTest::mousePress(form->Upper->Image1, Qt::LeftButton, {}, QPoint(334, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(700, 10), QPointF(700, 10), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->Upper->Image1, &move);
    EXPECT_EQ(form->Lower->CrsrLbl->text(), "X: 334, Y: 10");
    // Another magnification redraws: the read-outs go, "Record" waits.
    form->Mag4BtnClick();
    EXPECT_TRUE(form->Lower->CrsrLbl->text().isEmpty());
    EXPECT_FALSE(form->Lower->RecordBtn->isEnabled());
    // With the reading switched off, the label stays empty.
    form->WorkingOptions.ShowDistance = false;
    form->WorkingOptions.IdentifyMoon = false;
    placeCrosshair(*form, pixelOf(*form, 1));
    EXPECT_TRUE(form->Lower->RdngLbl->text().isEmpty());
    EXPECT_TRUE(form->Lower->IDLbl->text().isEmpty());
    EXPECT_EQ(form->CursorMoon, 1);
}

TEST_F(ObservingTest, AutomaticRecordingFillsOneBoxPerMoonAndAsksToTryAgainOffAMoon) {
    auto form = runDemonstration("2024/11/15", "02:00:00");
    MeasurementRec& pending = form->Entry->PendingRecord;
    int a = 0, b = 0;
    for (int m = 1; m <= 4 && !b; ++m)
        if (measurable(*form, m)) (a ? b : a) = m;
    ASSERT_TRUE(a && b);
    placeCrosshair(*form, pixelOf(*form, b));
    form->RecordBtnClick();
    EXPECT_EQ(pending.Offset[a], NoMeasurement);
    EXPECT_NE(pending.Offset[b], NoMeasurement);
    EXPECT_TRUE(form->Entry->Box(a)->text().isEmpty());
    EXPECT_FALSE(form->Entry->Box(b)->text().isEmpty());
    placeCrosshair(*form, pixelOf(*form, a));
    form->RecordBtnClick();
    EXPECT_NE(pending.Offset[a], NoMeasurement);
    EXPECT_NE(pending.Offset[b], NoMeasurement);
    // Cancel: the values stay in the pending record, not yet to be stored.
    form->Entry->CancelBtn->click();
    EXPECT_TRUE(form->S.PendingStored);
    // Off every moon: try again, nothing changes.
    placeCrosshair(*form, QPoint(5, 5));
    desk.answerMessage(MsgResult::Ok);
    form->RecordBtnClick();
    EXPECT_EQ(desk.messages.back(),
              (Message{"Try Again!", "Cursor is not accurately centered on moon!", MsgIcon::Warning,
                       BtnOk}));
    // At another instant the cancelled values are dropped, not stored.
    form->NextBtnClick();
    placeCrosshair(*form, pixelOf(*form, 1));
    form->RecordBtnClick();
    EXPECT_TRUE(form->Entry->Table.IsEmpty());
    EXPECT_EQ(pending.Offset[b == 1 ? a : b], NoMeasurement);
}

TEST_F(ObservingTest, NextWithAnUnreadableValueReportsItAndStillStepsTheClock) {
    auto form =
        runDemonstration("2024/11/15", "02:00:00", [](OptionsRecord& r) { r.AutoRecord = false; });
    placeCrosshair(*form, QPoint(400, 163));
    form->RecordBtnClick();
    form->Entry->Box(1)->setText("1.25 w");
    form->Entry->Box(2)->setText("0.8");
    const long double before = ToJulianDate(form->S.ObservationInstant);
    desk.answerMessage(MsgResult::Ok);
    form->NextBtnClick();
    EXPECT_EQ(desk.messages.back(),
              (Message{"Invalid Data!", "Measured value for Europa is incorrect!", MsgIcon::Error,
                       BtnOk}));
    EXPECT_EQ(ToJulianDate(form->S.ObservationInstant) - before, 1.0L);
    ASSERT_EQ(form->Entry->Table.Count(), 1);
    EXPECT_EQ(form->Entry->Table.records()[0].Offset[1], 1.25f);
    EXPECT_EQ(form->Entry->Table.records()[0].Offset[2], NoMeasurement);
    // The corrected value goes into that instant's record, not a second one.
    form->Entry->Box(2)->setText("0.8e");
    form->Entry->OKBtn->click();
    form->NextBtnClick();
    ASSERT_EQ(form->Entry->Table.Count(), 1);
    EXPECT_EQ(form->Entry->Table.records()[0].Offset[1], 1.25f);
    EXPECT_EQ(form->Entry->Table.records()[0].Offset[2], -0.8f);
}

TEST_F(ObservingTest, TheAnimationStepsByItsTickAndStopsOnAnEclipse) {
    // Io comes out from behind Jupiter into its shadow on 2026/03/02 at
    // about 21:30 UT.
    auto form = runDemonstration("2026/03/02", "19:00:00");
    form->Features.AnimationFeature = true;
    const long double start = ToJulianDate(form->S.ObservationInstant);
    form->Timer1Timer();
    EXPECT_NEAR(double(ToJulianDate(form->S.ObservationInstant) - start), 0.1 / 24, 1e-9);
    // "Cont." runs the timer and holds "Next".
    form->ContBtnClick();
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_FALSE(form->Lower->NextBtn->isEnabled());
    form->ContBtnClick();
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_TRUE(form->Lower->NextBtn->isEnabled());

    // The ticks before Io is seen eclipsed.
    const long double now = ToJulianDate(form->S.ObservationInstant);
    int quiet = 0;
    for (; quiet < 60; ++quiet) {
        ComputeSatellites(TTFromUT(now + (quiet + 1) * 0.1L / 24.0L));
        if (SatelliteStates[1].Eclipsed && !SatelliteStates[1].Occulted) break;
    }
    ASSERT_LT(quiet, 60) << "no eclipse of Io within six hours";
    form->Features.StopOnEclipseFeature = true;
    form->ContBtnClick();
    for (int i = 0; i < quiet; ++i)
        form->Timer1Timer();
    EXPECT_TRUE(desk.messages.empty());
    // Every tick that finds the moon eclipsed asks: OK runs on, Cancel stops.
    const Message stop{"Animation Stop on Eclipse",
                       "Satellite 1 is Eclipsed!\n\nPress \"OK\" to Continue Animation.",
                       MsgIcon::Information, BtnOk | BtnCancel};
    desk.answerMessage(MsgResult::Ok);
    form->Timer1Timer();
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages.back(), stop);
    EXPECT_TRUE(form->Timer1->isActive());
    desk.answerMessage(MsgResult::Cancel);
    form->Timer1Timer();
    EXPECT_EQ(desk.messages.size(), 2u);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_TRUE(form->Lower->NextBtn->isEnabled());
    // "Next" never stops on an eclipse.
    form->S.DataInterval = 0.01L;
    form->NextBtnClick();
    EXPECT_TRUE(form->EclipseSeen[1]);
    EXPECT_EQ(desk.messages.size(), 2u);
}

TEST_F(ObservingTest, AnAnimationPastTheEphemerisStopsWithOneMessage) {
    auto form = runDemonstration("2799/12/31", "00:00:00");
    form->Features.AnimationFeature = true;
    form->S.AnimationStepHours = 24.0L * 365.0L;
    form->ContBtnClick();
    const std::size_t before = desk.messages.size();
    desk.answerMessage(MsgResult::Ok);
    form->Timer1Timer();
    // The first message stopped the animation and was shown once.
    EXPECT_FALSE(form->Timer1->isActive());
    ASSERT_EQ(desk.messages.size(), before + 1);
    EXPECT_EQ(desk.messages.back().caption, "*** Planetary Ephemeris Not Available ***");
}

TEST_F(ObservingTest, SavingAndLoadingThroughTheDataMenu) {
    auto form = runDemonstration("2024/11/15", "02:00:00");
    // Nothing recorded: nothing to save.
    desk.answerMessage(MsgResult::Ok);
    form->SaveData1Click();
    EXPECT_EQ(desk.messages.back().caption, "No Results Recorded!");
    // Two nights measured, saved as .DAT in the group's folder.
    for (int night = 0; night < 2; ++night) {
        placeCrosshair(*form, pixelOf(*form, 1));
        form->RecordBtnClick();
        form->NextBtnClick();
    }
    const std::string folder = form->WorkingOptions.UserDataDir;
    desk.answerSaveFile(QString::fromStdString(folder + "night.DAT"));
    form->SaveData1Click();
    ASSERT_FALSE(desk.saveRequests.empty());
    EXPECT_EQ(desk.saveRequests.back().folder.toStdString(), folder);
    EXPECT_EQ(desk.saveRequests.back().fileName, "JupSatData1");
    EXPECT_TRUE(form->S.DataSaved);
    EXPECT_EQ(readTestFile(folder + "night.DAT").size(), 64u);
    // The next save proposes the last name without its extension; a wrong
    // extension is refused.
    desk.answerSaveFile(QString::fromStdString(folder + "night.txt"));
    desk.answerMessage(MsgResult::Ok);
    form->CSVFormat1Click();
    EXPECT_EQ(desk.saveRequests.back().fileName.toStdString(), folder + "night");
    EXPECT_EQ(desk.messages.back().caption, "Cannot Save File!");
    desk.answerSaveFile(QString::fromStdString(folder + "night.CSV"));
    form->CSVFormat1Click();
    EXPECT_TRUE(
        readTestFile(folder + "night.CSV").starts_with("Jupiter Satellite Measurements - "));

    // Loading merges on request; the merged table is unsaved.
    desk.answerOpenFile(QString::fromStdString(folder + "night.DAT"));
    desk.answerMessage(MsgResult::Yes); // "Merge Data?"
    desk.answerMessage(MsgResult::Ok);  // "Data Loaded"
    form->Load1Click();
    EXPECT_EQ(form->Entry->Table.Count(), 4);
    EXPECT_FALSE(form->S.DataSaved);
    EXPECT_EQ(desk.messages.back().text,
              "Data loaded from " + folder + "night.DAT.\n\nMerged with existing data.");
    // Replacing unsaved data asks first; No changes nothing.
    desk.answerOpenFile(QString::fromStdString(folder + "night.CSV"));
    desk.answerMessage(MsgResult::No); // "Merge Data?"
    desk.answerMessage(MsgResult::No); // "Data Not Saved!"
    form->Load1Click();
    EXPECT_EQ(form->Entry->Table.Count(), 4);
    EXPECT_EQ(desk.messages.back().caption, "Data Not Saved!");
    // A file that cannot be read leaves the table as it was.
    desk.answerOpenFile(QString::fromStdString(folder + "missing.DAT"));
    desk.answerMessage(MsgResult::No);  // "Merge Data?"
    desk.answerMessage(MsgResult::Yes); // "Data Not Saved!": go on
    desk.answerMessage(MsgResult::Ok);  // the file error
    form->Load1Click();
    EXPECT_EQ(form->Entry->Table.Count(), 4);
    EXPECT_EQ(desk.messages.back().caption, "File Error");
    // A file without a single record changes nothing, merged or not.
    for (const char* name : {"empty.DAT", "byte.DAT", "heading.CSV"}) {
        SCOPED_TRACE(name);
        writeTestFile(folder + name, std::string(name) == "byte.DAT" ? "x" : "");
        for (MsgResult merge : {MsgResult::Yes, MsgResult::No}) {
            desk.answerOpenFile(QString::fromStdString(folder + name));
            desk.answerMessage(merge);                                      // "Merge Data?"
            if (merge == MsgResult::No) desk.answerMessage(MsgResult::Yes); // "Data Not Saved!"
            desk.answerMessage(MsgResult::Ok);                              // the message
            form->Load1Click();
            EXPECT_EQ(form->Entry->Table.Count(), 4);
            EXPECT_FALSE(form->S.DataSaved);
            EXPECT_EQ(desk.messages.back(),
                      (Message{"No Data Loaded", folder + name + " contains no valid data!",
                               MsgIcon::Information, BtnOk}));
        }
    }
}

TEST_F(ObservingTest, LoadCompletesATypedNameWithTheChosenFormatAndKeepsTheFilterOrder) {
    auto form = runDemonstration("2024/11/15", "02:00:00");
    recordIoAndGoOn(*form);
    const std::string folder = form->WorkingOptions.UserDataDir;
    desk.answerSaveFile(QString::fromStdString(folder + "run1.DAT"));
    form->SaveData1Click();
    desk.answerSaveFile(QString::fromStdString(folder + "run1.CSV"));
    form->CSVFormat1Click();
    const QString filters = QString(DatLoadFilter) + ";;" + CsvLoadFilter;
    struct Case {
        const char* chosen;   // the filter the student picks before typing run1
        const char* selected; // the filter the chooser opens on
        const char* loaded;
    };
    for (const Case& c : {Case{CsvLoadFilter, DatLoadFilter, "run1.CSV"},
                          Case{DatLoadFilter, CsvLoadFilter, "run1.DAT"}}) {
        desk.answerOpenFile("run1", c.chosen);
        desk.answerMessage(MsgResult::No); // "Merge Data?"
        desk.answerMessage(MsgResult::Ok); // "Data Loaded"
        form->Load1Click();
        EXPECT_EQ(desk.messages.back().text, "Data loaded from " + folder + c.loaded + ".");
        EXPECT_EQ(desk.openRequests.back().filter, filters);
        EXPECT_EQ(desk.openRequests.back().selectedFilter, c.selected);
        EXPECT_EQ(desk.openRequests.back().defaultSuffix, filterSuffix(c.selected));
    }
}

TEST_F(ObservingTest, ASaveThatFailedIsNotProposedAgain) {
    auto form = runDemonstration("2024/11/15", "02:00:00");
    recordIoAndGoOn(*form);
    const std::string folder = form->WorkingOptions.UserDataDir;
    auto saveAs = [&](const std::string& path, bool fails) {
        desk.answerSaveFile(QString::fromStdString(path));
        if (fails) desk.answerMessage(MsgResult::Ok); // "File Error"
        form->SaveData1Click();
        EXPECT_EQ(form->S.DataSaved, !fails) << path;
    };
    saveAs("/proc/night.DAT", true);
    saveAs(folder + "good.DAT", false);
    EXPECT_EQ(desk.saveRequests.back().fileName, "JupSatData1");
    EXPECT_EQ(desk.saveRequests.back().folder.toStdString(), folder);
    saveAs("/proc/night.DAT", true);
    saveAs(folder + "good.DAT", false);
    EXPECT_EQ(desk.saveRequests.back().fileName.toStdString(), folder + "good");
}

TEST_F(ObservingTest, TheEndAsksUntilTheDataAreSavedOrTheStudentDeclines) {
    auto form = runDemonstration("2024/11/15", "02:00:00");
    placeCrosshair(*form, pixelOf(*form, 1));
    form->RecordBtnClick();
    form->Entry->OKBtnClick();
    EXPECT_FALSE(form->S.PendingStored);
    const Message lost{"Data Will Be Lost!",
                       "You have not saved your measurement data!\n\nDo you want to save it now?",
                       MsgIcon::Question, BtnYes | BtnNo | BtnCancel};
    // Cancel keeps the program running; the pending record is now stored.
    desk.answerMessage(MsgResult::Cancel);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(desk.messages.back(), lost);
    EXPECT_EQ(form->Entry->Table.Count(), 1);
    // Yes: the save menu; a cancelled save asks again; then a real save.
    desk.answerMessage(MsgResult::Yes);
    desk.onPopupMenu([](QMenu& m) {
        EXPECT_EQ(m.actions()[0]->text(), "Save data in &Binary Format...");
        EXPECT_EQ(m.actions()[1]->text(), "Save data in .&CSV Format...");
        m.actions()[0]->trigger();
    });
    desk.answerSaveFile(QString());
    desk.answerMessage(MsgResult::Yes);
    desk.onPopupMenu([](QMenu& m) { m.actions()[1]->trigger(); });
    desk.answerSaveFile(QString::fromStdString(form->WorkingOptions.UserDataDir + "end.CSV"));
    desk.answerMessage(MsgResult::Ok); // the reminder
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(fileio::fileExists(form->WorkingOptions.UserDataDir + "end.CSV"));
    EXPECT_EQ(std::count(desk.messages.begin(), desk.messages.end(), lost), 3);
}

} // namespace

namespace {

void features(ScriptedDesktop& desk, std::function<void(TFeaturesForm1&)> script) {
    desk.onDialog([script](QDialog& d) { script(dynamic_cast<TFeaturesForm1&>(d)); });
}

TEST_F(ObservingTest, TheFeaturesDialogSwitchesAnimationAndTheTopView) {
    auto form = runDemonstration("2024/11/15", "02:00:00");
    EXPECT_FALSE(form->Lower->ContBtn->isEnabled());
    features(desk, [](TFeaturesForm1& f) {
        f.AnimationBox->setChecked(true);
        f.TopViewBox->setChecked(true);
        f.OKBtn->click();
    });
    form->Features1Click();
    EXPECT_TRUE(form->Lower->ContBtn->isEnabled());
    EXPECT_EQ(form->Lower->AnmLbl->text(), "Animation Step: 0.10 Hrs");
    EXPECT_TRUE(form->TopView->isVisible());
    // A placement rings the moon in the top view as well.
    placeCrosshair(*form, pixelOf(*form, 2));
    EXPECT_EQ(form->CursorMoon, 2);
    const TopViewPoint europa = form->TopView->MoonPoints[2];
    EXPECT_EQ(form->TopView->Frame().pixel(europa.x - 10, europa.y), qRgb(255, 255, 255));
    EXPECT_EQ(form->TopView->Frame().pixel(europa.x, europa.y - 10), qRgb(255, 255, 255));

    // Switching the animation off while it runs only disables "Cont.".
    form->ContBtnClick();
    ASSERT_TRUE(form->Timer1->isActive());
    features(desk, [](TFeaturesForm1& f) {
        f.AnimationBox->setChecked(false);
        f.OKBtn->click();
    });
    form->Features1Click();
    EXPECT_FALSE(form->Lower->ContBtn->isEnabled());
    EXPECT_TRUE(form->Timer1->isActive());
    form->Timer1->stop();
    form->S.Animating = false;

    // Closing the top view switches its feature off.
    form->TopView->Close1->trigger();
    EXPECT_FALSE(form->Features.TopViewFeature);
    form->UpdateView();
    EXPECT_FALSE(form->TopView->isVisible());
}

TEST_F(ObservingTest, TimingChangesTheStepsAndTheLabelsButNotTheView) {
    auto form = runDemonstration("2024/11/15", "02:00:00");
    const QImage view = form->Upper->Image1->Frame;
    const long double instant = ToJulianDate(form->S.ObservationInstant);
    desk.onDialog([](QDialog& d) {
        auto& t = dynamic_cast<TTimingDlgForm1&>(d);
        t.IntervalEd->setText("12");
        t.OKBtn->click();
    });
    form->Timing1Click();
    EXPECT_EQ(ToJulianDate(form->S.ObservationInstant), instant);
    EXPECT_EQ(form->Upper->Image1->Frame, view);
    EXPECT_EQ(form->S.DataInterval, 12.0L);
    EXPECT_EQ(form->Lower->IntrvLbl->text(), "Data Interval: 12.00 Hrs ");
    const long double before = ToJulianDate(form->S.ObservationInstant);
    form->NextBtnClick();
    EXPECT_EQ(ToJulianDate(form->S.ObservationInstant) - before, 0.5L);
}

TEST_F(ObservingTest, ARecordingAtAnInstantAlreadyStoredAddsASecondRecord) {
    auto form = runDemonstration("2024/11/15", "02:00:00");
    placeCrosshair(*form, pixelOf(*form, 1));
    form->RecordBtnClick();
    form->Entry->OKBtnClick();
    // A value held is enough for the table's commands, which store it first.
    EXPECT_TRUE(form->ReviewData1->isEnabled() && form->AnalyzeData1->isEnabled() &&
                form->Save1->menuAction()->isEnabled());
    // The review list stores and resets the pending record.
    form->ReviewData1Click();
    EXPECT_EQ(form->Entry->Table.Count(), 1);
    EXPECT_TRUE(form->ReviewData1->isEnabled() && form->AnalyzeData1->isEnabled() &&
                form->Save1->menuAction()->isEnabled());
    placeCrosshair(*form, pixelOf(*form, 1));
    form->RecordBtnClick();
    form->Entry->OKBtnClick();
    form->AnalyzeData1Click();
    const std::vector<MeasurementRec> recs = form->Entry->Table.records();
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(recs[0].JulianDate, recs[1].JulianDate);
    EXPECT_TRUE(form->Analysis->isVisible());
}

TEST_F(ObservingTest, ChoosingTheReviewListAgainShowsTheTableAsItIsNow) {
    auto form = runDemonstration("2024/11/15", "02:00:00");
    for (int night = 0; night < 2; ++night) {
        placeCrosshair(*form, pixelOf(*form, 1));
        form->RecordBtnClick();
        form->Entry->OKBtnClick();
        form->ReviewData1Click(); // open all the while
        form->NextBtnClick();
    }
    QListWidget* list = form->ReviewList->ListBox1;
    ASSERT_EQ(list->count(), 5 + 2);
    const QStringList second = list->item(6)->text().split(' ', Qt::SkipEmptyParts);
    EXPECT_EQ(second[0].toStdString(), FixedText(form->Entry->Table.records()[1].JulianDate, 5));
    // The line shown is the record the edit finds.
    form->ReviewList->SelectLine(6);
    desk.onDialog([](QDialog& d) { static_cast<TResultsForm1&>(d).CancelBtn->click(); });
    form->ReviewList->EditSelectedLine1Click();
    EXPECT_TRUE(std::none_of(desk.messages.begin(), desk.messages.end(),
                             [](const Message& m) { return m.caption == "Data Not Selected!"; }));
}

// The crosshair steered with the arrow keys to a pixel: tens with Shift.
void steer(TelescopeImage* view, QPoint to) {
    for (int guard = 0; guard < 200; ++guard) {
        const QPoint at = view->KeyCrosshair.value_or(view->Home);
        const int dx = to.x() - at.x(), dy = to.y() - at.y();
        if (dx == 0 && dy == 0) return;
        const int d = dx != 0 ? dx : dy;
        const Qt::Key key = dx != 0 ? (dx < 0 ? Qt::Key_Left : Qt::Key_Right)
                                    : (dy < 0 ? Qt::Key_Up : Qt::Key_Down);
        QTest::keyClick(view, key, std::abs(d) >= 10 ? Qt::ShiftModifier : Qt::NoModifier);
    }
    FAIL() << "the crosshair does not reach " << to.x() << "," << to.y();
}

// Tab from wherever the focus is until the widget has it; the window comes
// back to the front first, as the window manager brings it back.
void tabTo(QWidget* target) {
    QWidget* window = target->window();
    if (QApplication::activeWindow() != window) {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    for (int i = 0; i < 40 && QApplication::focusWidget() != target; ++i)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window,
                        Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), target);
}

TEST_F(ObservingTest, AStudentMeasuresEveryMoonWithTheKeyboardAlone) {
    auto form = runDemonstration("2024/11/15", "02:00:00");
    form->show();
    TelescopeImage* view = form->Upper->Image1;
    EXPECT_EQ(view->accessibleName(), "Telescope view");
    // Enter while "Record" waits for a placement does nothing.
    QTest::keyClick(form.get(), Qt::Key_Return);
    EXPECT_FALSE(form->Entry->isVisible());
    // Reached with Tab, the crosshair starts on Jupiter's centre.
    tabTo(view);
    ASSERT_TRUE(view->KeyCrosshair);
    EXPECT_EQ(*view->KeyCrosshair, QPoint(314, 163));
    EXPECT_EQ(form->Lower->RdngLbl->text(), "X = 0.00W (Jup. Diam.)    ");
    EXPECT_TRUE(form->Lower->RecordBtn->isEnabled());

    std::vector<PerMoon<float>> mouse;
    for (int night = 0; night < 3; ++night) {
        PerMoon<float> want{{NoMeasurement, NoMeasurement, NoMeasurement, NoMeasurement}};
        for (int moon = 1; moon <= 4; ++moon) {
            if (!measurable(*form, moon)) continue;
            tabTo(view);
            steer(view, pixelOf(*form, moon));
            EXPECT_EQ(form->CursorMoon, moon);
            EXPECT_EQ(form->Lower->CrsrLbl->text(), QString("X: %1, Y: %2")
                                                        .arg(pixelOf(*form, moon).x())
                                                        .arg(pixelOf(*form, moon).y()));
            EXPECT_TRUE(
                view->accessibleDescription().contains(form->Lower->RdngLbl->text().trimmed()));
            EXPECT_TRUE(view->accessibleDescription().contains(form->Lower->IDLbl->text()));
            QTest::keyClick(view, Qt::Key_Return); // "Record"
            ASSERT_TRUE(form->Entry->isVisible());
            QWidget* box = QApplication::focusWidget();
            QTest::keyClick(box && box->window() == form->Entry ? box : form->Entry,
                            Qt::Key_Return); // the value filled in, confirmed
            EXPECT_FALSE(form->Entry->isVisible());
            // What the mouse reads at the same pixel.
            placeCrosshair(*form, pixelOf(*form, moon));
            want[moon] = form->CursorReading;
        }
        mouse.push_back(want);
        tabTo(form->Lower->NextBtn);
        QTest::keyClick(form->Lower->NextBtn, Qt::Key_Space);
    }
    const std::vector<MeasurementRec> table = form->Entry->Table.records();
    ASSERT_EQ(table.size(), 3u);
    for (int night = 0; night < 3; ++night)
        EXPECT_EQ(table[night].Offset, mouse[night]) << "night " << night;
}

TEST_F(ObservingTest, ThePhenomenaTableListsTheInstantsNearTheDate) {
    auto form = runDemonstration("2024/12/07", "00:00:00");
    form->JupiterPhenomena1Click();
    ASSERT_TRUE(form->PhenomList->isVisible());
    EXPECT_EQ(form->PhenomList->windowTitle(), "Planetary Phenomena");
    ASSERT_GE(form->PhenomList->ListBox1->count(), 7);
    EXPECT_EQ(form->PhenomList->ListBox1->item(0)->text(),
              "Jupiter phenomena occurring near December 7, 2024");
    EXPECT_EQ(form->PhenomList->ListBox1->item(3)->text(),
              "Opposition:  December 7, 2024 at 20:58");
}

} // namespace
