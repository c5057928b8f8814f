// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a picture of every window of the program into the build folder
// ("gallery/"), as the windows look in a real session: for looking at, and
// for the pictures in the documentation.
#include "DeskFixture.h"
#include "analysis/FeaturesDlg.h"
#include "analysis/KeplerWin.h"
#include "analysis/OrbtAnal.h"
#include "analysis/PhenomList.h"
#include "analysis/PltPrmsDlg.h"
#include "app/RsltsList.h"
#include "analysis/SatOrrery.h"
#include "lab/SineFit.h"
#include "analysis/SinePrmsDlg.h"
#include "analysis/TimingDlg.h"
#include "app/EyepieceView.h"
#include "config/About.h"
#include "config/HelpLstDlg.h"
#include "config/HelpWindows.h"
#include "config/Helptxt.h"
#include "config/HotList.h"

#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QTabWidget>
#include <QTest>

namespace {

class Gallery : public DeskTest {
protected:
    QString folder = QStringLiteral(QV_BIN_DIR "/../gallery/");
    int shots = 0;
    void SetUp() override {
        DeskTest::SetUp();
        QDir().mkpath(folder);
    }
    void shoot(QWidget& w, const QString& name) {
        QApplication::processEvents();
        EXPECT_TRUE(w.grab().save(folder + name + ".png")) << name.toStdString();
        ++shots;
    }
    void shootDialog(const QString& name, std::function<void(QDialog&)> then = {}) {
        desk.onDialog([this, name, then](QDialog& d) {
            shoot(d, name);
            if (then) then(d);
        });
    }
};

TEST_F(Gallery, EveryWindow) {
    writeOptions([](OptionsRecord& r) { r.TableNumber = "7"; });
    auto form = start();
    form->show();
    shoot(*form, "main-logo");
    desk.onDialog([this](QDialog& d) {
        auto& l = dynamic_cast<TLoginDlg&>(d);
        l.Stud1->setText("Ada Lovelace");
        l.Stud2->setText("Grace Hopper");
        shoot(d, "login");
        l.OKBtn->click();
    });
    desk.answerMessage(MsgResult::Yes);
    form->LogIn1Click();
    shoot(*form, "main-title");
    desk.onDialog([this](QDialog& d) {
        auto& t = dynamic_cast<TUTTimeDlg&>(d);
        t.DateEd->setText("2025/01/12");
        t.TimeEd->setText("03:00:00");
        shoot(d, "date-time");
        t.OKBtn->click();
    });
    form->Run1Click();
    form->Features.IDColorsFeature = true;
    for (int m = 0; m < 4; ++m) {
        form->MagBtnClick(m);
        const MoonPixel io = form->MoonPixelsNow[1];
        QTest::mousePress(form->Upper->Image1, Qt::LeftButton, {}, QPoint(io.x, io.y));
        QTest::mouseRelease(form->Upper->Image1, Qt::LeftButton, {}, QPoint(io.x, io.y));
        shoot(*form, QString("main-%1x").arg(100 * (m + 1)));
    }
    // The keyboard's crosshair, a few pixels off Io, with the view focused.
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    for (int m : {0, 3}) {
        form->MagBtnClick(m);
        form->Upper->Image1->KeyCrosshair =
            QPoint(form->MoonPixelsNow[1].x - 3, form->MoonPixelsNow[1].y);
        form->Upper->Image1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form->Upper->Image1, Qt::Key_Right);
        shoot(*form, QString("main-%1x-keyboard").arg(100 * (m + 1)));
    }
    form->RecordBtnClick();
    shoot(*form->Entry, "entry");
    {
        // Where the entry dialog opens beside the main window on a 1280 x 1024 screen.
        QImage screen(1280, 1024, QImage::Format_RGB32);
        screen.fill(QColor(0, 96, 128));
        const QRect main(QPoint(40, 40), form->frameGeometry().size());
        const QPoint at =
            EntryDialogPosition(main, form->Entry->frameGeometry().size(), screen.rect());
        QPainter p(&screen);
        p.drawPixmap(main.topLeft(), form->grab());
        p.drawPixmap(at, form->Entry->grab());
        p.end();
        EXPECT_TRUE(screen.save(folder + "entry-beside-main.png"));
    }
    form->Entry->OKBtnClick();

    // Ten more nights at 100X, then the review list.
    form->MagBtnClick(0);
    for (int n = 0; n < 24; ++n) {
        form->NextBtnClick();
        for (int moon = 1; moon <= 4; ++moon) {
            const MoonPixel p = form->MoonPixelsNow[moon];
            if (SatelliteStates[moon].Occulted || SatelliteStates[moon].Eclipsed) continue;
            QTest::mousePress(form->Upper->Image1, Qt::LeftButton, {}, QPoint(p.x, p.y));
            QTest::mouseRelease(form->Upper->Image1, Qt::LeftButton, {}, QPoint(p.x, p.y));
            form->RecordBtnClick();
        }
    }
    form->ReviewData1Click();
    form->ReviewList->ListBox1->setCurrentRow(7);
    shoot(*form->ReviewList, "review-list");
    form->ReviewList->hide();

    // The analysis, fitted, in colour and in monochrome.
    form->AnalyzeData1Click();
    TOrbAnalForm1& win = *form->Analysis;
    for (int moon : {1, 4}) {
        (moon == 1 ? win.Io1 : win.Callisto1)->trigger();
        const SineFitResult fit = FitMoonSine(
            SinePointsOf(form->Entry->Table.records(), moon, form->PlotInfo[moon].JDBase), moon);
        ASSERT_TRUE(fit.HasFit());
        win.SetInitialParameters1->trigger();
        if (moon == 1) shoot(*win.SineParmsDlg, "sine-parameters");
        win.SineParmsDlg->TZeroEd->setText(QString::number(double(fit.Parameters.TZero), 'f', 3));
        win.SineParmsDlg->PeriodEd->setText(QString::number(double(fit.Parameters.Period), 'f', 4));
        win.SineParmsDlg->AmplEd->setText(
            QString::number(double(fit.Parameters.Amplitude), 'f', 2));
        win.SineParmsDlg->OKBtn->click();
    }
    win.Io1->trigger();
    win.ShowSineCurve1->trigger(); // the curve of the stored parameters
    shoot(win, "analysis-io");
    // An instructor's best fit beside a student's curve a little off, and
    // Jupiter weighed from the four curves.
    win.SetInitialParameters1->trigger();
    win.SineParmsDlg->PeriodEd->setText(
        QString::number(win.SineParmsDlg->PeriodEd->text().toDouble() * 1.004, 'f', 4));
    win.SineParmsDlg->OKBtn->click();
    form->WorkingOptions.TestMode = true;
    emit win.FitSineCurve1->aboutToShow();
    win.BestFit1->trigger();
    shoot(win, "analysis-io-best-fit");
    win.BestFit1->trigger();
    form->WorkingOptions.TestMode = false;
    win.KeplersThirdLaw1->trigger();
    ASSERT_NE(win.KeplerForm1, nullptr);
    shoot(*win.KeplerForm1, "kepler");
    win.KeplerForm1->hide();
    shootDialog("data-span", [](QDialog& d) { d.reject(); });
    win.SetDataSpan1Click();
    form->WorkingOptions.Monochrome = true;
    win.hide();
    win.Analyze();
    win.Callisto1->trigger();
    win.ShowSineCurve1->trigger();
    shoot(win, "analysis-callisto-monochrome");
    form->WorkingOptions.Monochrome = false;
    win.hide();

    // The phenomena, the top view, the dialogs of the desk.
    form->JupiterPhenomena1Click();
    shoot(*form->PhenomList, "phenomena");
    form->PhenomList->hide();
    shootDialog("features", [](QDialog& d) {
        auto& f = dynamic_cast<TFeaturesForm1&>(d);
        f.TopViewBox->setChecked(true);
        f.IDBox->setChecked(true);
        f.OKBtn->click();
    });
    form->Features1Click();
    shoot(*form->TopView, "top-view-large");
    form->TopView->Normal1Click();
    shoot(*form->TopView, "top-view-normal");
    shootDialog("timing", [](QDialog& d) { d.reject(); });
    form->Timing1Click();
    shootDialog("about", [](QDialog& d) { d.accept(); });
    form->About1Click();
    THotListForm1* hot = ensureHotListForm1(&form->WorkingOptions, &form->Login);
    desk.onDialog([this](QDialog& d) {
        shoot(d, "hotlist");
        d.reject();
    });
    desktop().execDialog(*hot);

    // Help: the topics and one topic.
    desk.onDialog([this](QDialog& d) {
        auto& t = dynamic_cast<THelpLstDlg&>(d);
        shoot(d, "help-topics");
        t.ListBox1->setCurrentRow(22);
        t.ReadPrintTopic1Click();
    });
    form->Topics1Click();
    shoot(*form->Help->TextWin(), "help-topic");

    // The options and the password dialogs.
    form->S.OptionsAccess = true;
    desk.onDialog([this](QDialog& d) {
        auto& o = dynamic_cast<TOptionsDlg&>(d);
        shoot(d, "options-general");
        o.PageControl1->setCurrentIndex(1);
        shoot(d, "options-files");
        o.CancelBtn->click();
    });
    form->Options1Click();
    TPasswordDlg pw;
    shootDialog("password", [](QDialog& d) { d.reject(); });
    desktop().execDialog(pw);
    EXPECT_EQ(shots, 30);
    desk.answerMessage(MsgResult::No); // "Data Will Be Lost!"
    desk.answerMessage(MsgResult::Ok); // the reminder
    form->close();
    destroyHotListForm1();
}

} // namespace
