// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit analysis window, its two dialogs and its printouts.
#include "lab/BestFit.h"
#include "analysis/KeplerWin.h"
#include "analysis/OrbtAnal.h"
#include "analysis/PltPrmsDlg.h"
#include "analysis/SinePrmsDlg.h"
#include "support/MeasurementSamples.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"
#include "ephemeris/StringUt.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedDesktop.h"
#include "support/TempDir.h"
#include "widgets/SevenSegment.h"
#include "widgets/ToggleSwitch.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

constexpr float NM = NoMeasurement;

// Keeps the picture a printout receives.
class PicturePrinter : public RecordingPrinter {
public:
    void drawImage(const QRect& target, const QImage& image) override {
        picture = image;
        pictureRect = target;
        RecordingPrinter::drawImage(target, image);
    }
    QImage picture;
    QRect pictureRect;
};

class OrbAnal : public ::testing::Test {
protected:
    OrbAnal() {
        options.ExeDir = "/opt/quorvex/";
        options.AnalHelpList = "JupAnalHlp.lst";
        login.StudentName1 = "Ann Lee";
        // Io once a day for 16 days near a period of 1.769 days, Europa with
        // one removed point, Callisto removed only.
        SineParamsRec io{1.769L, 2.9L, 321.25L};
        for (int i = 0; i < 17; ++i) {
            const long double jd = 2454321.7L + i;
            const float noise = (i % 3 - 1) * 0.1f;
            table.InsertOrdered(record(jd, float(SineOffset(io, jd - 2454000)) + noise,
                                       i % 2 ? 1.5f : NM, NM, i == 3 ? 7.0f : NM,
                                       {true, i != 5, true, false}));
        }
        table.MeasurementsChanged = true;
        win = std::make_unique<TOrbAnalForm1>(table, options, login, plots, sine);
    }
    void showAndSelectIo() {
        win->Analyze();
        win->Io1->trigger();
    }
    // Types the parameters into the dialog and presses OK.
    void fit(const QString& t0, const QString& p, const QString& a) {
        win->SetInitialParameters1->trigger();
        win->SineParmsDlg->TZeroEd->setText(t0);
        win->SineParmsDlg->PeriodEd->setText(p);
        win->SineParmsDlg->AmplEd->setText(a);
        win->SineParmsDlg->OKBtn->click();
    }
    QColor rmsColour() const { return win->RMSDisp->palette().color(QPalette::Text); }
    // Pixel of a record of the table on Io's plot.
    QPoint ioPixel(int index) {
        const MeasurementRec r = *table.GoToIndex(index);
        const auto pt = PointPixel(plots[1], r.JulianDate, r.Offset[1]);
        return {pt->x, pt->y};
    }

    ScriptedDesktop desk;
    MeasurementTable table;
    OptionsRecord options;
    LoginRecord login;
    MoonPlotTable plots;
    SineParamsTable sine;
    std::unique_ptr<TOrbAnalForm1> win;
};

TEST_F(OrbAnal, StartsWithItsLayoutMenuAndControlsAtRest) {
    EXPECT_EQ(win->windowTitle(), "Jupiter Satellite Orbit Analysis");
    EXPECT_EQ(win->centralWidget()->size(), QSize(658, 502));
    EXPECT_EQ(win->Panel1->geometry(), QRect(0, 0, 658, 340));
    EXPECT_EQ(win->Display1->size(), QSize(654, 336));
    EXPECT_EQ(win->Analysis.CurrentMoon, 0);
    for (QAction* a : {win->Io1, win->Europa1, win->Ganymede1, win->Callisto1, win->ShowSineCurve1,
                       win->SineParametersSummary1, win->Plot1->menuAction()})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_TRUE(win->ShowPoints1->isChecked());
    EXPECT_FALSE(win->ConnectPoints1->isChecked());
    EXPECT_FALSE(win->CFToggle->isEnabled());
    EXPECT_EQ(win->Analysis.SliderStep, CoarseSliderStep);
    for (QScrollBar* s : {win->TScroll, win->PScroll, win->AScroll}) {
        EXPECT_EQ(s->minimum(), -200);
        EXPECT_EQ(s->maximum(), 200);
        EXPECT_EQ(s->pageStep(), 10);
        EXPECT_EQ(s->value(), 0);
    }
    EXPECT_EQ(win->TZRstBtn->toolTip(), "Reset the T-Zero Slider");
    EXPECT_EQ(win->ARstBtn->toolTip(), "Reset the Period Slider");
    const std::tuple<SevenSegment*, int, int, bool> readouts[] = {{win->TReading, 12, 5, false},
                                                                  {win->PReading, 7, 5, false},
                                                                  {win->AReading, 6, 4, false},
                                                                  {win->XRdng, 4, 1, false},
                                                                  {win->YRdng, 4, 2, true}};
    for (const auto& [s, digits, decimals, sign] : readouts) {
        EXPECT_EQ(s->digits(), digits);
        EXPECT_EQ(s->decimals(), decimals);
        EXPECT_EQ(s->showSign(), sign);
        EXPECT_FALSE(s->poweredOn());
        EXPECT_EQ(s->segmentColour(), QColor(0, 255, 0));
    }
    EXPECT_EQ(win->Image1.pixelColor(300, 150), QColor(0, 0, 128)); // "Select Moon from Menu"
}

TEST_F(OrbAnal, ShowingRebuildsTheSummariesOnceAndOffersHelp) {
    std::string helpAsked;
    win->OpenHelp = [&](const std::string& list) { helpAsked = list; };
    win->Analyze();
    EXPECT_TRUE(win->isVisible());
    EXPECT_FALSE(table.MeasurementsChanged);
    EXPECT_TRUE(win->Io1->isEnabled());
    EXPECT_TRUE(win->Europa1->isEnabled());
    EXPECT_FALSE(win->Ganymede1->isEnabled());
    EXPECT_FALSE(win->Callisto1->isEnabled()); // its only point is removed
    EXPECT_TRUE(win->Help1->isEnabled());
    win->Help1->trigger();
    EXPECT_EQ(helpAsked, "/opt/quorvex/JupAnalHlp.lst");

    win->close();
    options.AnalHelpList.clear();
    options.Monochrome = true;
    win->Analyze();
    EXPECT_FALSE(win->Help1->isEnabled());
    EXPECT_EQ(win->TReading->segmentColour(), QColor(Qt::white));
    EXPECT_EQ(win->Image1.pixelColor(2, 2), QColor(Qt::white));
}

TEST_F(OrbAnal, SelectingAMoonPlotsItAndSaysWhenTheDataAreTooLong) {
    showAndSelectIo();
    EXPECT_EQ(win->Analysis.CurrentMoon, 1);
    EXPECT_TRUE(win->Io1->isChecked());
    EXPECT_TRUE(win->Plot1->menuAction()->isEnabled());
    EXPECT_EQ(plots[1].SpanDays, 20);
    EXPECT_EQ(win->Image1.pixelColor(65, 25), QColor(Qt::white));

    win->close();
    table.InsertOrdered(record(2454390.0L, NM, 2.0f, NM, NM));
    table.MeasurementsChanged = true;
    win->Analyze(); // Io stays selected, with its scales prepared again
    EXPECT_EQ(plots[1].SpanDays, 20);
    desk.answerMessage(MsgResult::Ok);
    win->Europa1->trigger();
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0], DataSpanMessage());
    EXPECT_FALSE(win->Io1->isChecked());
    EXPECT_TRUE(win->Europa1->isChecked());
    EXPECT_EQ(plots[2].SpanDays, 50);
    win->Io1->trigger(); // prepared once: no second message
    win->Europa1->trigger();
    EXPECT_EQ(desk.messages.size(), 1u);
}

TEST_F(OrbAnal, TheCrossFollowsTheLeftButtonAndShowsTheCursorReadouts) {
    showAndSelectIo();
    QTest::mousePress(win->Display1, Qt::LeftButton, {}, QPoint(120, 108));
    EXPECT_TRUE(win->Analysis.CursorDragging);
    EXPECT_TRUE(win->XRdng->poweredOn());
    EXPECT_EQ(win->XRdng->shownText(), "323.0");
    EXPECT_EQ(win->YRdng->shownText(), "  1.51");
    EXPECT_EQ(win->Image1.pixelColor(116, 108), QColor(0, 255, 0));
    win->Display1MouseMove(QPoint(200, 200));
    EXPECT_EQ(win->YRdng->shownText(), " -1.80");
    QTest::mouseRelease(win->Display1, Qt::LeftButton, {}, QPoint(200, 210));
    EXPECT_FALSE(win->Analysis.CursorDragging);
    EXPECT_EQ(win->Analysis.CursorY, 210);
    win->Display1MouseMove(QPoint(300, 300)); // not dragging: stays
    EXPECT_EQ(win->Analysis.CursorX, 200);
    QTest::mousePress(win->Display1, Qt::RightButton, {}, QPoint(300, 100)); // left button only
    EXPECT_EQ(win->Analysis.CursorX, 200);
    QTest::mousePress(win->Display1, Qt::LeftButton, {}, QPoint(30, 100)); // outside the frame
    EXPECT_FALSE(win->XRdng->poweredOn());
    EXPECT_EQ(win->XRdng->shownText(), "");
}

TEST_F(OrbAnal, DoubleClickOnAPointRemovesOrRestoresIt) {
    int toggled = 0;
    win->PointToggled = [&] { ++toggled; };
    showAndSelectIo();
    const QPoint pt = ioPixel(4) + QPoint(3, -2);
    desk.answerMessage(MsgResult::Yes);
    QTest::mouseDClick(win->Display1, Qt::LeftButton, {}, pt);
    ASSERT_EQ(desk.messages.size(), 1u);
    const MeasurementRec r = *table.GoToIndex(4);
    EXPECT_EQ(desk.messages[0].caption, "Remove Selected Point?");
    EXPECT_EQ(desk.messages[0], PointQuestion(record(r.JulianDate, r.Offset[1], NM, NM, NM), 1));
    EXPECT_EQ(desk.messages[0].text.substr(0, 18), "JD: 2454325.70000\n");
    EXPECT_FALSE(table.GoToIndex(4)->Included[1]);
    EXPECT_TRUE(table.GoToIndex(4)->Included[2]); // nothing else changes
    EXPECT_EQ(toggled, 1);
    EXPECT_FALSE(table.MeasurementsChanged);
    EXPECT_EQ(win->Image1.pixelColor(ioPixel(4)), QColor(255, 0, 255));
    win->Display1MouseMove(pt); // the next move hides the cross
    EXPECT_EQ(win->Analysis.CursorX, 0);
    EXPECT_FALSE(win->Analysis.CursorDragging);

    desk.answerMessage(MsgResult::No);
    QTest::mouseDClick(win->Display1, Qt::LeftButton, {}, pt);
    EXPECT_EQ(desk.messages.back().caption, "Restore Selected Point?");
    EXPECT_FALSE(table.GoToIndex(4)->Included[1]);
    EXPECT_EQ(toggled, 1);
    QTest::mouseDClick(win->Display1, Qt::LeftButton, {}, QPoint(600, 40)); // no point: no question
    EXPECT_EQ(desk.messages.size(), 2u);
}

TEST_F(OrbAnal, TheKeyboardSelectsPointsAndRemovesOrRestoresThemAsTheDoubleClickDoes) {
    int toggled = 0;
    win->PointToggled = [&] { ++toggled; };
    showAndSelectIo();
    EXPECT_EQ(win->Display1->accessibleName(), "Orbit plot");
    EXPECT_EQ(win->Display1->focusPolicy(), Qt::StrongFocus);
    auto key = [&](Qt::Key k) { QTest::keyClick(win->Display1, k); };
    const struct {
        Qt::Key key;
        int selected;
    } steps[] = {{Qt::Key_Left, 16}, {Qt::Key_Right, 16}, {Qt::Key_Home, 0}, {Qt::Key_Up, 0},
                 {Qt::Key_Down, 1},  {Qt::Key_Right, 2},  {Qt::Key_Left, 1}};
    for (const auto& s : steps) {
        key(s.key);
        EXPECT_EQ(win->Analysis.SelectedPoint, s.selected) << s.key;
    }
    // The cross and a square mark the point; the readouts and the description tell it.
    const QPoint pt = ioPixel(1);
    EXPECT_EQ(QPoint(win->Analysis.CursorX, win->Analysis.CursorY), pt);
    EXPECT_TRUE(win->XRdng->poweredOn());
    EXPECT_EQ(win->Image1.pixelColor(pt + QPoint(6, 3)), QColor(0, 255, 0));
    const MeasurementRec r = *table.GoToIndex(1);
    EXPECT_EQ(win->Display1->accessibleDescription().toStdString(),
              "Io (I): JD 2454322.70000, offset " + FixedText(std::fabs(r.Offset[1]), 2) +
                  (r.Offset[1] >= 0 ? " W" : " E") + ", in the residual");

    desk.answerMessage(MsgResult::Yes);
    key(Qt::Key_Space);
    EXPECT_EQ(desk.messages.back(), PointQuestion(r, 1));
    EXPECT_FALSE(table.GoToIndex(1)->Included[1]);
    EXPECT_EQ(toggled, 1);
    EXPECT_TRUE(win->Display1->accessibleDescription().endsWith(", removed from the residual"));
    desk.answerMessage(MsgResult::No);
    key(Qt::Key_Return);
    EXPECT_EQ(desk.messages.back().caption, "Restore Selected Point?");
    EXPECT_EQ(toggled, 1);
    desk.answerMessage(MsgResult::Yes);
    key(Qt::Key_Enter);
    EXPECT_TRUE(table.GoToIndex(1)->Included[1]);
    EXPECT_EQ(toggled, 2);

    // A click takes the selection away; so does another moon.
    QTest::mouseClick(win->Display1, Qt::LeftButton, {}, QPoint(300, 100));
    EXPECT_EQ(win->Analysis.SelectedPoint, -1);
    EXPECT_TRUE(win->Display1->accessibleDescription().startsWith("No point selected"));
    key(Qt::Key_End);
    win->Europa1->trigger();
    EXPECT_EQ(win->Analysis.SelectedPoint, -1);
    key(Qt::Key_Right); // Europa's first point is the second record
    EXPECT_EQ(win->Analysis.SelectedPoint, 1);

    // The focus shows as a dotted frame along the plot's edge, not in its picture.
    win->activateWindow();
    QApplication::setActiveWindow(win.get());
    win->Display1->setFocus();
    ASSERT_TRUE(win->Display1->hasFocus());
    const QImage shown = win->Display1->grab().toImage();
    int framed = 0;
    for (int x = 0; x < 40; ++x)
        framed += shown.pixelColor(x, 1) == QColor(0, 255, 0);
    EXPECT_GT(framed, 10);
    EXPECT_EQ(win->Image1.pixelColor(1, 1), QColor(0, 0, 128));
    EXPECT_EQ(desk.messages.size(), 3u);
}

TEST_F(OrbAnal, FittingShowsTheCurveReadoutsAndTheResidualsTrend) {
    showAndSelectIo();
    fit("2454321.25", "1.769", "2.9");
    EXPECT_FALSE(win->SineParmsDlg->isVisible());
    EXPECT_TRUE(win->ShowSineCurve1->isEnabled());
    EXPECT_TRUE(win->ShowSineCurve1->isChecked());
    EXPECT_FALSE(win->SetInitialParameters1->isChecked());
    EXPECT_TRUE(win->SineParametersSummary1->isEnabled());
    EXPECT_TRUE(win->CFToggle->isEnabled());
    EXPECT_EQ(sine[1].TZero, 321.25L); // reduced at the drawing
    EXPECT_EQ(sine[1].JDBase, 2454000);
    EXPECT_EQ(win->TReading->shownText(), "2454321.25000");
    EXPECT_EQ(win->PReading->shownText(), " 1.76900");
    EXPECT_EQ(win->AReading->shownText(), " 2.9000");
    const QString first = win->RMSDisp->text();
    EXPECT_TRUE(first.startsWith("    ") && first.endsWith("E-02  ")) << first.toStdString();
    EXPECT_EQ(rmsColour(), QColor(0, 255, 0));
    EXPECT_EQ(win->Image1.pixelColor(84, 69), QColor(0, 255, 255));

    win->PScroll->setValue(20); // 2 % longer: worse
    EXPECT_NEAR(double(sine[1].Period), 1.769 * 1.02, 1e-15);
    EXPECT_EQ(rmsColour(), QColor(255, 0, 0));
    win->PScroll->setValue(0);
    EXPECT_EQ(rmsColour(), QColor(0, 255, 0));
    EXPECT_EQ(win->RMSDisp->text(), first);

    win->PScroll->setValue(50);
    const long double moved = sine[1].Period;
    win->PRstBtn->click();
    EXPECT_EQ(win->PScroll->value(), 0);
    EXPECT_EQ(sine[1].Period, moved);

    QTest::mouseClick(win->CFToggle, Qt::LeftButton);
    EXPECT_TRUE(win->CFToggle->isActive());
    EXPECT_EQ(win->Analysis.SliderStep, FineSliderStep);
    win->PScroll->setValue(200);
    EXPECT_NEAR(double(sine[1].Period), double(moved) * 1.04, 1e-15);

    win->ShowSineCurve1->trigger(); // hides the curve and the readouts
    EXPECT_FALSE(win->ShowSineCurve1->isChecked());
    EXPECT_FALSE(win->CFToggle->isEnabled());
    EXPECT_FALSE(win->TReading->poweredOn());
    EXPECT_TRUE(win->RMSDisp->text().isEmpty());
}

TEST_F(OrbAnal, ReopeningAfterAChangeCentresTheSlidersOnTheCurve) {
    showAndSelectIo();
    fit("321.25", "1.769", "2.9");
    win->PScroll->setValue(30);
    const long double period = sine[1].Period;
    win->close();
    table.InsertOrdered(record(2454330.2L, 0.5f, NM, NM, NM));
    table.MeasurementsChanged = true;
    win->Analyze();
    EXPECT_EQ(win->PScroll->value(), 0);
    win->PScroll->setValue(1);
    win->AScroll->setValue(1);
    win->TScroll->setValue(1);
    EXPECT_NEAR(double(sine[1].Period), double(period) * 1.001, 1e-12);
    EXPECT_NEAR(double(sine[1].Amplitude), 2.9 * 1.001, 1e-12);
    EXPECT_NEAR(double(sine[1].TZero), 321.25 + double(sine[1].Period) * 0.001, 1e-12);
    EXPECT_TRUE(win->RMSDisp->text().endsWith("  ")) << win->RMSDisp->text().toStdString();
}

TEST_F(OrbAnal, ParameterDialogEditsTheMoonSelectedNow) {
    showAndSelectIo();
    fit("321.25", "1.769", "2.9");
    win->SetInitialParameters1->trigger();
    EXPECT_EQ(win->SineParmsDlg->PeriodEd->text(), "1.76900");
    win->Europa1->trigger(); // the open dialog follows the window's moon
    EXPECT_TRUE(win->SineParmsDlg->isVisible());
    EXPECT_EQ(win->SineParmsDlg->PeriodEd->text(), "");
    win->SineParmsDlg->TZeroEd->setText("322.5");
    win->SineParmsDlg->PeriodEd->setText("3.55");
    win->SineParmsDlg->AmplEd->setText("1.5");
    win->SineParmsDlg->OKBtn->click();
    EXPECT_EQ(sine[2].Period, 3.55L);
    EXPECT_EQ(sine[1].Period, 1.769L);
    EXPECT_EQ(sine[1].TZero, 321.25L);
    EXPECT_TRUE(win->ShowSineCurve1->isChecked());
    EXPECT_EQ(win->PReading->shownText(), " 3.55000");

    win->SetInitialParameters1->trigger();
    win->ResetAnalysis(); // no moon left to edit
    EXPECT_FALSE(win->SineParmsDlg->isVisible());
}

TEST_F(OrbAnal, ParameterDialogRefusesEmptyAndNonNumericTexts) {
    showAndSelectIo();
    desk.answerMessage(MsgResult::Ok);
    fit("321.25", "", "2.9");
    desk.answerMessage(MsgResult::Ok);
    fit("321.5", "1.7x", "2.9");
    ASSERT_EQ(desk.messages.size(), 2u);
    EXPECT_EQ(desk.messages[0],
              (Message{"Invalid Parameters", "All prameters must be filled in!", MsgIcon::Error}));
    EXPECT_EQ(desk.messages[1],
              (Message{"Input Error", "Numeric Conversion Error!\n\nValue \"1.7x\" is non-numeric!",
                       MsgIcon::Error}));
    EXPECT_TRUE(win->SineParmsDlg->isVisible());
    EXPECT_EQ(sine[1].TZero, 321.5L); // converted before the bad one
    EXPECT_EQ(sine[1].Period, 0.0L);
    EXPECT_FALSE(win->ShowSineCurve1->isEnabled());

    // A period of 0 is accepted as typed; the model is then undefined.
    fit("321.5", "0", "-2.9");
    EXPECT_TRUE(win->ShowSineCurve1->isChecked());
    EXPECT_EQ(win->RMSDisp->text(), "    (period is zero)");
    EXPECT_EQ(win->PReading->shownText(), " 0.00000");
    EXPECT_EQ(win->AReading->shownText(), "-2.9000");
    win->SetInitialParameters1->trigger(); // the dialog shows what is kept
    EXPECT_EQ(win->SineParmsDlg->TZeroEd->text(), "321.50000");
    EXPECT_EQ(win->SineParmsDlg->PeriodEd->text(), "");
    EXPECT_EQ(win->SineParmsDlg->AmplEd->text(), "");
    win->SineParmsDlg->CancelBtn->click();
    EXPECT_FALSE(win->SineParmsDlg->isVisible());
}

TEST_F(OrbAnal, DataSpanDialogShowsTheDataAndChecksTheStartDay) {
    showAndSelectIo();
    desk.onDialog([&](QDialog& d) {
        auto& dlg = dynamic_cast<TPlotParmsDlg&>(d);
        EXPECT_EQ(dlg.windowTitle(), "Set Data Span for Plot");
        EXPECT_EQ(dlg.DataStrtEd->text(), "2454321.70000");
        EXPECT_EQ(dlg.DataEndEd->text(), "2454337.70000");
        EXPECT_EQ(dlg.DaysEd->text(), "16.0");
        EXPECT_EQ(dlg.PlotStrtEd->text(), "321");
        EXPECT_TRUE(dlg.PltDaysBtn[1]->isChecked());
        EXPECT_EQ(dlg.PltDaysBtn[3]->text(), "40 Days ");
        dlg.PlotStrtEd->setText("12a");
        desk.answerMessage(MsgResult::Ok);
        dlg.OKBtn->click();
        EXPECT_TRUE(dlg.isVisible());
        dlg.PlotStrtEd->setText("3251"); // three characters at most
        dlg.PltDaysBtn[2]->setChecked(true);
        dlg.OKBtn->click();
    });
    win->SetDataSpan1->trigger();
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0], (Message{"Invalid Start Date!",
                                         "Start date (\"12a\") is invalid!\n\nMust be integer in "
                                         "range (0-999).",
                                         MsgIcon::Error}));
    EXPECT_EQ(plots[1].StartDay, 325);
    EXPECT_EQ(plots[1].SpanDays, 30);
    EXPECT_EQ(plots[1].PixPerDay, 550.0L / 30);
    desk.onDialog([](QDialog& d) { dynamic_cast<TPlotParmsDlg&>(d).CancelBtn->click(); });
    win->SetDataSpan1->trigger();
    EXPECT_EQ(plots[1].SpanDays, 30);
}

TEST_F(OrbAnal, ResetAnalysisClosesTheWindowWithNoMoonSelected) {
    showAndSelectIo();
    win->ConnectPoints1->trigger();
    EXPECT_TRUE(win->ConnectPoints1->isChecked());
    EXPECT_FALSE(win->ShowPoints1->isChecked());
    table.MeasurementsChanged = true; // a file was loaded
    win->ResetAnalysis();
    EXPECT_FALSE(win->isVisible());
    EXPECT_EQ(win->Analysis.CurrentMoon, 0);
    EXPECT_FALSE(win->Io1->isChecked());
    EXPECT_FALSE(win->Plot1->menuAction()->isEnabled());
    EXPECT_TRUE(win->ShowPoints1->isChecked());
    EXPECT_FALSE(win->ConnectPoints1->isChecked());
    EXPECT_FALSE(win->CFToggle->isEnabled());
    win->Analyze();
    EXPECT_EQ(plots[1].SpanDays, 0); // rebuilt: scales wait for the next selection
    EXPECT_FALSE(table.MeasurementsChanged);
    win->Exit1->trigger();
    EXPECT_FALSE(win->isVisible());
}

TEST_F(OrbAnal, PrintsTheParameterSummaryAfterThePageHeader) {
    showAndSelectIo();
    fit("321.25", "1.769", "2.9");
    RecordingPrinter rec;
    desk.onPrint([&](const PrintRequest&) { return surfaceRecordingInto(rec); });
    win->SineParametersSummary1->trigger();
    EXPECT_EQ(desk.printRequests.at(0).title, "ORVA Exercise \"Quorvex\" - Ann Lee");
    EXPECT_TRUE(rec.ended);
    const std::vector<QString> texts = rec.textsOnPage(1);
    ASSERT_EQ(texts.size(), 11u); // date and name, then nine lines
    EXPECT_EQ(texts[1], "Ann Lee");
    EXPECT_EQ(texts[2].indexOf("Fitted Sine Curve Parameters"), 10);
    EXPECT_EQ(texts[4].mid(8, 6), "Io (I)");
    EXPECT_EQ(texts[4].mid(24, 13), "2454321.25000");
    EXPECT_EQ(texts[5].mid(24, 27), "(Parameters not determined)");
    const int h = rec.lineHeight;
    EXPECT_EQ(rec.items[2].y, 2 * h + 3 * h);
    EXPECT_EQ(rec.items[2].x, 10);
    EXPECT_EQ(rec.items[4].y, 2 * h + 8 * h);
    EXPECT_EQ(rec.items[4].x, 1);
    EXPECT_EQ(rec.items.back().y, 2 * h + 16 * h);

    desk.onPrint([](const PrintRequest&) { return nullptr; }); // cancelled
    win->SineParametersSummary1->trigger();
    EXPECT_EQ(rec.items.size(), 11u);
}

TEST_F(OrbAnal, PrintsTheDisplayInPrintColoursPortraitAndLandscape) {
    login.StudentName3 = "Cy Ray";
    options.TableNumber = "7";
    showAndSelectIo();
    for (bool landscape : {false, true}) {
        PicturePrinter rec;
        if (landscape) std::swap(rec.width, rec.height);
        desk.onPrint([&](const PrintRequest&) { return surfaceRecordingInto(rec); });
        win->CurrentDisplay1->trigger();
        const int h = rec.lineHeight, left = landscape ? 50 : 0;
        ASSERT_GE(rec.items.size(), 4u);
        EXPECT_TRUE(rec.items[0].text.endsWith("     Laboratory Table Number 7"));
        EXPECT_EQ(rec.items[0].font, "MS Sans Serif 10 bold");
        EXPECT_EQ((std::tuple{rec.items[1].x, rec.items[1].y}), (std::tuple{left, 2 * h}));
        EXPECT_EQ(rec.items[2].text, "Cy Ray");
        EXPECT_EQ(rec.items[2].y, 3 * h);
        EXPECT_EQ(rec.picture.size(), QSize(658, 502));
        // Monochrome on paper (the PrintColor option is off), the screen's colours after.
        EXPECT_EQ(rec.picture.pixelColor(10, 10), QColor(Qt::white));
        EXPECT_EQ(win->Image1.pixelColor(2, 2), QColor(0, 0, 128));
        EXPECT_FALSE(win->Analysis.MonochromeMode);
        EXPECT_TRUE(win->isEnabled());
        if (!landscape) {
            EXPECT_EQ(rec.pictureRect, QRect(0, 9 * h, 2000, 502 * 2000 / 658));
            EXPECT_EQ(rec.pages, 1);
        } else {
            EXPECT_EQ(rec.items[3].text, "(Screen Image Printed on Next Page)");
            EXPECT_EQ((std::tuple{rec.items[3].x, rec.items[3].y}), (std::tuple{700, 5 * h + 300}));
            EXPECT_EQ(rec.items[4].text, "Ann Lee - Page 2");
            EXPECT_EQ(rec.items[4].page, 2);
            const int height = 2000 - 50; // what is left below y = 50
            EXPECT_EQ(rec.pictureRect, QRect(0, 50, 658 * height / 502, height));
        }
    }
    options.PrintColor = true;
    PicturePrinter rec;
    desk.onPrint([&](const PrintRequest&) { return surfaceRecordingInto(rec); });
    win->CurrentDisplay1->trigger();
    EXPECT_EQ(rec.picture.pixelColor(10, 10), QColor(0, 0, 128));
}

TEST_F(OrbAnal, PrintsTheSummaryIntoAPdfFile) {
    showAndSelectIo();
    fit("321.25", "1.769", "2.9");
    TempDir dir;
    const QString pdf = QString::fromStdString(dir.file("summary.pdf"));
    desk.onPrint([&](const PrintRequest& rq) { return makePdfSurface(pdf, rq); });
    win->SineParametersSummary1->trigger();
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(20000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(text.contains("Fitted Sine Curve Parameters")) << text.toStdString();
    EXPECT_TRUE(
        text.contains(QRegularExpression("Io \\(I\\) +2454321\\.25000 +1\\.76900 +2\\.9000 +"
                                         "\\d\\.\\d{6}E-\\d\\d")))
        << text.toStdString();
    EXPECT_TRUE(
        text.contains(QRegularExpression("Callisto \\(IV\\) +\\(Parameters not determined\\)")));
    EXPECT_TRUE(text.contains("Amplitude - Jupiter Diameters"));
}

TEST_F(OrbAnal, BestFitIsOfferedInTestOrEditModeOnly) {
    const struct {
        bool test, edit, visible;
    } modes[] = {
        {false, false, false}, {true, false, true}, {false, true, true}, {true, true, true}};
    showAndSelectIo();
    for (const auto& m : modes) {
        options.TestMode = m.test;
        options.EditMode = m.edit;
        emit win->FitSineCurve1->aboutToShow();
        EXPECT_EQ(win->BestFit1->isVisible(), m.visible) << m.test << m.edit;
        EXPECT_TRUE(win->BestFit1->isCheckable());
    }
    // Leaving the modes takes the curve away, also from a checked item.
    win->BestFit1->trigger();
    EXPECT_TRUE(win->BestFit1->isChecked());
    options.TestMode = options.EditMode = false;
    win->close();
    win->Analyze();
    EXPECT_FALSE(win->BestFit1->isVisible());
    EXPECT_FALSE(win->BestFit1->isChecked());
}

TEST_F(OrbAnal, BestFitDrawsItsOwnCurveAndLeavesTheStudentsParameters) {
    options.TestMode = true;
    showAndSelectIo();
    fit("321.32", "1.80", "2.6"); // off by eye
    const SineParamsRec student = sine[1];
    const QString studentRMS = win->RMSDisp->text();
    const QColor orange(255, 140, 0);
    auto orangeIn = [&](const QRect& r) {
        int n = 0;
        for (int x = r.left(); x <= r.right(); ++x)
            for (int y = r.top(); y <= r.bottom(); ++y)
                n += win->Image1.pixelColor(x, y) == orange;
        return n;
    };
    EXPECT_EQ(orangeIn(win->Image1.rect()), 0);

    win->BestFit1->trigger();
    const SineFitResult best = BestFitOf(table.records(), 1, student, {2454000, 321, 20});
    ASSERT_TRUE(best.Converged());
    EXPECT_NEAR(double(best.Parameters.Period), 1.769, 0.002);
    EXPECT_NEAR(double(best.Parameters.Amplitude), 2.9, 0.05);
    EXPECT_LT(best.RMS, student.RMSResidual / 3);
    EXPECT_EQ(BestFitText(best, 2454000).substr(0, 18), "Best fit: P = 1.76");
    // The student's curve, readouts and residual are as they were.
    EXPECT_EQ(sine[1].Period, student.Period);
    EXPECT_EQ(sine[1].Amplitude, student.Amplitude);
    EXPECT_EQ(sine[1].TZero, student.TZero);
    EXPECT_EQ(win->RMSDisp->text(), studentRMS);
    EXPECT_EQ(win->PReading->shownText(), " 1.80000");
    // Orange where the best curve runs apart from the student's (aqua, drawn
    // over it) and from the points, and in its line below the plot.
    const SineParamsRec curve = BestFitCurve(best, 2454000);
    int checked = 0;
    for (int x = 70; x < 610; x += 7) {
        const long double t = (x - 65) / plots[1].PixPerDay + 321;
        const int yBest =
            150 - int(std::lround(double(plots[1].PixPerDiam * SineOffset(curve, t))));
        const int yStudent =
            150 - int(std::lround(double(plots[1].PixPerDiam * SineOffset(student, t))));
        if (std::abs(yBest - yStudent) < 3) continue;
        if (win->Image1.pixelColor(x, yBest) == QColor(255, 255, 0)) continue; // a point
        ++checked;
        EXPECT_EQ(win->Image1.pixelColor(x, yBest), orange) << x << "," << yBest;
    }
    EXPECT_GT(checked, 40);
    EXPECT_GT(orangeIn(QRect(65, 317, 500, 17)), 100);

    // Dashed in dark grey on paper.
    options.Monochrome = true;
    win->close();
    win->Analyze();
    int grey = 0, gaps = 0;
    for (int x = 66; x <= 615; ++x) {
        const long double t = (x - 65) / plots[1].PixPerDay + 321;
        const int y = 150 - int(std::lround(double(plots[1].PixPerDiam * SineOffset(curve, t))));
        const QColor c = win->Image1.pixelColor(x, y);
        grey += c == QColor(80, 80, 80);
        gaps += c == QColor(Qt::white);
    }
    EXPECT_GT(grey, 150);
    EXPECT_GT(gaps, 50);

    win->BestFit1->trigger(); // off again
    EXPECT_EQ(orangeIn(win->Image1.rect()), 0);
}

TEST(BestFit, SaysWhyThereIsNoFit) {
    const std::vector<MeasurementRec> three = {record(2454321.5L, 1.0f, NM, NM, NM),
                                               record(2454322.5L, 2.0f, NM, NM, NM),
                                               record(2454323.5L, -1.0f, NM, NM, NM)};
    const PlottedDays days{2454000, 321, 10};
    // Only two points lie within the plotted days.
    EXPECT_EQ(
        BestFitText(BestFitOf(three, 1, {1.769L, 2.9L, 321.25L}, {2454000, 313, 10}), 2454000),
        "Best fit: none - fewer than 3 included points at different times");
    EXPECT_EQ(BestFitText(BestFitOf(three, 1, {0.0L, 2.9L, 321.25L}, days), 2454000),
              "Best fit: none - it starts from a curve with a positive period");
    // A T-zero typed as a full Julian date starts the fit as the curve is drawn.
    EXPECT_EQ(BestFitOf(three, 1, {1.769L, 2.9L, 2454321.25L}, days).Parameters.Period,
              BestFitOf(three, 1, {1.769L, 2.9L, 321.25L}, days).Parameters.Period);
    SineFitResult r;
    r.Status = SineFitStatus::NotConverged;
    r.Parameters = {0.5L, 1.76912L, 2.95124L};
    r.RMS = 0.048215632L;
    EXPECT_EQ(BestFitText(r, 2454000), "Best fit (not converged): P = 1.76912, A = 2.9512, "
                                       "T0 = 2454000.50000, RMS = 4.8215632E-02");
}

TEST_F(OrbAnal, KeplersThirdLawListsEachMoonTheMeanAndPrintsAfterTheHeader) {
    showAndSelectIo();
    // Io fitted on a file without Io now (no dates: Jupiter's motion unknown),
    // Europa not fitted, Ganymede and Callisto near the opposition of 2026.
    plots[1] = MoonPlotInfoRec{};
    sine[1] = {1.769138L, 2.95365L, 321.25L};
    sine[3] = {7.154553L, -7.4962L, 36.5L}; // a negative amplitude is the same orbit
    sine[4] = {16.57748L, 13.18L, 40.0L};
    for (int m : {3, 4}) {
        plots[m].HasData = true;
        plots[m].FirstJD = 2461036.0L;
        plots[m].LastJD = 2461066.0L;
    }
    win->KeplersThirdLaw1->trigger();
    ASSERT_NE(win->KeplerForm1, nullptr);
    TKeplerForm1& k = *win->KeplerForm1;
    EXPECT_TRUE(k.isVisible());
    EXPECT_EQ(k.windowTitle(), "Kepler's Third Law");
    const std::vector<std::string> lines = k.Lines();
    ASSERT_GE(lines.size(), 27u);
    const std::vector<std::string> head = {
        "Jupiter's Mass by Kepler's Third Law",
        "from the sine curves fitted to the moons' offsets",
        "",
        "Satellite            Fitted  Jupiter's   Sidereal      Orbit",
        "                     Period     Motion     Period     Radius",
        "                     (days)  (deg/day)     (days)       (km)",
        "",
        "Io (I)              1.76914    unknown    1.76914     421769",
        "Europa (II)     (no fitted curve)",
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 9), head);
    // Near opposition Jupiter moves west: the sidereal period is the longer.
    const QString ganymede = QString::fromStdString(lines[9]);
    EXPECT_TRUE(ganymede.startsWith("Ganymede (III)      7.15455    -0.1")) << lines[9];
    EXPECT_GT(ganymede.mid(38, 11).toDouble(), 7.16);
    EXPECT_EQ(ganymede.mid(49).trimmed(), "1070427");
    EXPECT_EQ(lines[12], "Satellite             a^3/P^2         Mass         Mass         Mass");
    EXPECT_EQ(lines[13], "                  (AU^3/yr^2)       (Suns)     (Earths)         (kg)");
    EXPECT_EQ(lines[15], "Io (I)             9.5523E-04   9.5523E-04       318.04   1.8995E+27");
    EXPECT_EQ(lines[16], "Europa (II)     (no fitted curve)");
    EXPECT_EQ(lines[20].substr(0, 16), "Mean (3 moons)  ");
    EXPECT_EQ(lines[21].substr(0, 16), "Spread (s.d.)   ");
    EXPECT_EQ(lines.back(), "  so P(sidereal) is the fitted period.");

    RecordingPrinter rec;
    desk.onPrint([&](const PrintRequest&) { return surfaceRecordingInto(rec); });
    k.Print1->trigger();
    EXPECT_TRUE(rec.ended);
    EXPECT_EQ(desk.printRequests.at(0).title, "ORVA Exercise \"Quorvex\" - Ann Lee");
    const std::vector<QString> texts = rec.textsOnPage(1);
    ASSERT_EQ(texts.size(), 2 + 1 + lines.size()); // the header, the caption, the lines
    EXPECT_EQ(texts[1], "Ann Lee");
    EXPECT_EQ(texts[2], "Kepler's Third Law");
    EXPECT_EQ(texts[3 + 15].toStdString(), lines[15]);
    EXPECT_EQ(rec.items[3].y, rec.items[2].y + 2 * rec.lineHeight);

    // Nothing fitted: every moon says so and there is no mean.
    sine = SineParamsTable{};
    win->KeplersThirdLaw1->trigger();
    const std::vector<std::string> none = k.Lines();
    EXPECT_EQ(none[10], "Callisto (IV)   (no fitted curve)");
    EXPECT_EQ(none[20], "Mean            (no moon has a fitted curve)");
}

} // namespace
