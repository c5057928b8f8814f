// SPDX-License-Identifier: GPL-3.0-or-later
// PhenomListForm1, "Planetary Phenomena": the table of Jupiter's opposition,
// conjunction and quadratures near the observation date, with only Print and
// Close. The lines come from the phenomena computation.
#pragma once

#include "analysis/InfoList.h"

#include <string>
#include <vector>

class PhenomListForm1 : public TInfoListForm1 {
    Q_OBJECT
public:
    PhenomListForm1(const OptionsRecord& options, const LoginRecord& login,
                    QWidget* parent = nullptr);

    // Shows the lines (UTF-8), not modally; a window already shown takes the
    // new lines and is sized to them at once.
    void ShowPhenomena(const std::vector<std::string>& lines);

    void FormCreate() override;
    void FormShow() override;

private:
    std::vector<std::string> lines_;
};
