// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DeskPanels.h"

#include "app/EyepieceView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

UpperPanel::UpperPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("UpperPanel");
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    // Inside the bevel, which stays visible on all four sides.
    Image1 = new TelescopeImage(this);
    Image1->move(lineWidth(), lineWidth());
}

LowerPanel::LowerPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("LowerPanel");
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(10);
    font.setBold(true);

    auto label = [&](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setFont(font);
        l->setMinimumWidth(196);
        return l;
    };
    DateLbl = label("DateLbl");
    UTLbl = label("UTLbl");
    JDLbl = label("JDLbl");
    IntrvLbl = label("IntrvLbl");
    AnmLbl = label("AnmLbl");
    CrsrLbl = label("CrsrLbl");
    RdngLbl = label("RdngLbl");
    IDLbl = label("IDLbl");

    auto* labels = new QGridLayout;
    labels->setHorizontalSpacing(8);
    labels->setVerticalSpacing(0);
    labels->addWidget(DateLbl, 0, 0);
    labels->addWidget(UTLbl, 0, 1);
    labels->addWidget(JDLbl, 0, 2);
    labels->addWidget(IntrvLbl, 1, 0);
    labels->addWidget(AnmLbl, 1, 1);
    labels->addWidget(CrsrLbl, 2, 0);
    labels->addWidget(RdngLbl, 2, 1);
    labels->addWidget(IDLbl, 2, 2);

    auto button = [&](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setMinimumWidth(64);
        return b;
    };
    auto* buttons = new QHBoxLayout;
    const char* magNames[4] = {"Mag1Btn", "Mag2Btn", "Mag3Btn", "Mag4Btn"};
    for (int i = 0; i < 4; ++i) {
        MagBtn[i] = button(QString::number(100 * (i + 1)) + QStringLiteral("X"), magNames[i]);
        buttons->addWidget(MagBtn[i]);
    }
    buttons->addStretch();
    NextBtn = button(QStringLiteral("Next"), "NextBtn");
    ContBtn = button(QStringLiteral("Cont."), "ContBtn");
    RecordBtn = button(QStringLiteral("&Record"), "RecordBtn");
    RecordBtn->setDefault(true);
    ContBtn->setEnabled(false);
    RecordBtn->setEnabled(false);
    buttons->addWidget(NextBtn);
    buttons->addWidget(ContBtn);
    buttons->addWidget(RecordBtn);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 3, 8, 4);
    layout->setSpacing(2);
    layout->addLayout(labels);
    layout->addLayout(buttons);
}
