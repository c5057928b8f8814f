// SPDX-License-Identifier: GPL-3.0-or-later
// Brings the program's windows up on a real display for the screen-reader
// check: a demonstration session run from a fixed instant, a few nights
// measured with the crosshair and recorded, then the entry dialog, the review
// list and the orbit analysis (Io selected) shown beside the main window.
// Prints "READY" when everything is shown, then a line "EXPECT <window>\t<name>"
// for each read-out whose name must be current, a line
// "TEXT <window>\t<name>\t<text>" for a read-out whose text must be current,
// and "END"; it quits when its standard input closes (or after a minute).
#include "analysis/OrbtAnal.h"
#include "analysis/SinePrmsDlg.h"
#include "app/DeskPanels.h"
#include "app/EyepieceView.h"
#include "app/ORVA_JUP.h"
#include "common/FileIO.h"
#include "config/DtUTdlg.h"
#include "lab/OptionsRecord.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Galilean.h"
#include "ephemeris/Outer_Planets.h"
#include "support/ScriptedDesktop.h"
#include "support/TempDir.h"
#include "widgets/SevenSegment.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace {

void expect(const QWidget& window, const QString& name) {
    std::printf("EXPECT %s\t%s\n", qPrintable(window.windowTitle()), qPrintable(name));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvex-a11y-driver"));
    QLocale::setDefault(QLocale::c());
    SetLeapSecondFile(QV_BIN_DIR "/Leap Seconds.txt");
    SetOuterPlanetFile(QV_BIN_DIR "/Outer_Pl_Tbl.dat");

    ScriptedDesktop desk;
    desk.cdrom = "/media/cdrom/"; // the pictures are found beside the program
    TempDir work;
    OptionsRecord options = defaultOptionsRecord();
    options.LoginRequired = false;
    writeTestFile(work.file("JUP_OPTS.INI"), serializeOptions(options));

    const OptsObj::Folders folders{QV_BIN_DIR "/", work.path()};
    TOrbexaForm1 form(nullptr, &folders);
    desk.onDialog([](QDialog& d) {
        auto& t = dynamic_cast<TUTTimeDlg&>(d);
        t.DateEd->setText(QStringLiteral("2025/01/10"));
        t.TimeEd->setText(QStringLiteral("03:00:00"));
        t.OKBtn->click();
    });
    form.show();
    form.Run1Click();

    // Each moon in view placed under the crosshair and recorded.
    auto recordNight = [&form] {
        for (int moon = 1; moon <= 4; ++moon) {
            const MoonPixel p = form.MoonPixelsNow[moon];
            if (SatelliteStates[moon].Occulted || p.x <= 0 || p.y <= 0 || p.x >= kViewWidth ||
                p.y >= kViewHeight)
                continue;
            const QPoint at(p.x, p.y);
            QTest::mousePress(form.Upper->Image1, Qt::LeftButton, {}, at);
            QTest::mouseMove(form.Upper->Image1, at + QPoint(1, 0));
            QTest::mouseRelease(form.Upper->Image1, Qt::LeftButton, {}, at);
            form.Lower->RecordBtn->click();
        }
    };
    for (int night = 0; night < 3; ++night) {
        recordNight();
        form.Entry->OKBtn->click();
        form.Lower->NextBtn->click();
    }

    form.ReviewData1Click();
    form.AnalyzeData1Click();
    TOrbAnalForm1& anal = *form.Analysis;
    anal.Io1->trigger();
    anal.SetInitialParameters1->trigger();
    anal.SineParmsDlg->TZeroEd->setText(QStringLiteral("2460685.5"));
    anal.SineParmsDlg->PeriodEd->setText(QStringLiteral("1.769"));
    anal.SineParmsDlg->AmplEd->setText(QStringLiteral("2.9"));
    anal.SineParmsDlg->OKBtn->click();
    QTest::mouseClick(anal.Display1, Qt::LeftButton, {}, QPoint(300, 120));
    recordNight(); // the fourth night, in the entry dialog
    QApplication::processEvents();

    std::printf("READY\n");
    expect(form, form.Lower->JDLbl->text());
    expect(form, form.Lower->RdngLbl->text());
    expect(*form.Entry, form.Entry->JDLbl->text());
    expect(*form.Entry, form.Entry->DTLbl->text());
    const std::pair<const char*, SevenSegment*> readings[] = {
        {"T-Zero (Julian Day)", anal.TReading},
        {"Period (Days)", anal.PReading},
        {"Amplitude (Jupiter Diameters)", anal.AReading},
        {"X (Mod. JD)", anal.XRdng},
        {"Y (Jp. Diam)", anal.YRdng}};
    for (const auto& [caption, reading] : readings)
        expect(anal,
               QString::fromUtf8(caption) + QStringLiteral(": ") + reading->shownText().trimmed());
    std::printf("TEXT %s\tRMS Residual\t%s\n", qPrintable(anal.windowTitle()),
                qPrintable(anal.RMSDisp->text()));
    std::printf("END\n");
    std::fflush(stdout);

    // The end without the close query's questions: the run is not the
    // students' and nothing of it is kept.
    auto end = [&form] {
        form.Terminated = true;
        QApplication::quit();
    };
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char c;
        if (::read(STDIN_FILENO, &c, 1) <= 0) end();
    });
    QTimer::singleShot(60000, &app, end);
    const int rc = QApplication::exec();
    form.Entry->hide();
    return rc;
}
