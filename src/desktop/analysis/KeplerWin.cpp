// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/KeplerWin.h"

#include "lab/KeplerReport.h"
#include "lab/OrbitAnalysis.h"

#include <QAction>
#include <QMenu>

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
    return ::KeplerInputsOf(sineParams, plotInfo);
}

void TKeplerForm1::ShowKepler() {
    const PerMoon<KeplerMoonInput> in = KeplerInputsOf(sineParams_, plotInfo_);
    lines_ = KeplerReportLines(in, KeplerAnalysis(in));
    ShowReport();
}
