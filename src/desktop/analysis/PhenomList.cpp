// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PhenomList.h"

#include <QAction>
#include <QMenu>

PhenomListForm1::PhenomListForm1(const OptionsRecord& options, const LoginRecord& login,
                                 QWidget* parent)
    : TInfoListForm1(options, login, parent) {
    setObjectName("PhenomListForm1");
    FormCreate();
}

void PhenomListForm1::FormCreate() {
    TInfoListForm1::FormCreate();
    for (QAction* a : {Edit1->menuAction(), Search1, N2, N3, SaveasText1->menuAction()})
        a->setVisible(false);
    setWindowTitle(QStringLiteral("Planetary Phenomena"));
}

void PhenomListForm1::FormShow() {
    SetLines(lines_);
    TInfoListForm1::FormShow();
}

void PhenomListForm1::ShowPhenomena(const std::vector<std::string>& lines) {
    lines_ = lines;
    ShowReport();
}
