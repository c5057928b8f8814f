// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/KeplerWin.h"

#include "lab/KeplerReport.h"

#include <QAction>
#include <QMenu>
#include <cmath>

TKeplerForm1::TKeplerForm1(const OptionsRecord& options, const LoginRecord& login,
                           const SineParamsTable& sineParams, const MoonPlotTable& plotInfo,
                           QWidget* parent)
    : TInfoListForm1(options, login, parent), sineParams_(sineParams), plotInfo_(plotInfo) {
    setObjectName("TKeplerForm1");
    FormCreate();
}

void TKeplerForm1::FormCreate() {
    TInfoListForm1::FormCreate();
    for (QAction* a : {Search1, N2})
        a->setVisible(false);
    setWindowTitle(QStringLiteral("Kepler's Third Law"));
    ReportName = "KEPLER";
}

void TKeplerForm1::FormShow() {
    SetLines(lines_);
    TInfoListForm1::FormShow();
}

PerMoon<KeplerMoonInput> TKeplerForm1::KeplerInputsOf(const SineParamsTable& sineParams,
                                                      const MoonPlotTable& plotInfo) {
    PerMoon<KeplerMoonInput> in;
    for (int m = 1; m <= kMoonCount; ++m) {
        const SineParamsRec& p = sineParams[m];
        if (!ParametersComplete(p)) continue;
        const MoonPlotInfoRec& info = plotInfo[m];
        // A negative period or amplitude draws the same curve as the positive
        // one (with T-zero half a period on): the orbit is the same.
        in[m] = {true,         std::fabs(p.Period), std::fabs(p.Amplitude),
                 info.FirstJD, DataEndJD(info),     info.HasData};
    }
    return in;
}

void TKeplerForm1::ShowKepler() {
    const PerMoon<KeplerMoonInput> in = KeplerInputsOf(sineParams_, plotInfo_);
    lines_ = KeplerReportLines(in, KeplerAnalysis(in));
    ShowReport();
}
