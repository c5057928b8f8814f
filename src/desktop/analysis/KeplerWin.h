// SPDX-License-Identifier: GPL-3.0-or-later
// TKeplerForm1, "Kepler's Third Law": the report of Jupiter's mass from the
// sine curves the students fitted, moon by moon, with the mean and spread.
// Print (after the page header), Save Text and Close come from the report
// window. The analysis window opens it:
//   kepler->ShowKepler(); // takes the curves and data spans as they are now
#pragma once

#include "analysis/InfoList.h"
#include "lab/Kepler.h"
#include "lab/MoonPlot.h"
#include "lab/SineModel.h"

#include <string>
#include <vector>

class TKeplerForm1 : public TInfoListForm1 {
    Q_OBJECT
public:
    // sineParams and plotInfo are the program's two analysis tables; they
    // outlive the window.
    TKeplerForm1(const OptionsRecord& options, const LoginRecord& login,
                 const SineParamsTable& sineParams, const MoonPlotTable& plotInfo,
                 QWidget* parent = nullptr);

    // Computes the report from the curves with period, amplitude and T-zero
    // and each moon's data span, and shows it, not modally.
    void ShowKepler();

    void FormCreate() override;
    void FormShow() override;

    // A moon with a complete curve; its span from the moon's usable data
    // (none when the present data have no point of the moon).
    static PerMoon<KeplerMoonInput> KeplerInputsOf(const SineParamsTable& sineParams,
                                                   const MoonPlotTable& plotInfo);

private:
    const SineParamsTable& sineParams_;
    const MoonPlotTable& plotInfo_;
    std::vector<std::string> lines_;
};
