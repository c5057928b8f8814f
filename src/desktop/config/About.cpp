// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/About.h"

#include "widgets/DialogUtil.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(const QString& caption, const QString& versionText,
                     const QString& exerciseName, QWidget* parent)
    : QDialog(parent) {
    setObjectName("TAboutBox");
    setWindowTitle(caption);
    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);

    ProgramIcon = new QLabel(panel);
    ProgramIcon->setPixmap(programIcon().pixmap(64, 64));
    ProductName = new QLabel(exerciseName, panel);
    QFont big = ProductName->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    ProductName->setFont(big);
    Version = new QLabel(versionText, panel);

    auto* texts = new QVBoxLayout;
    texts->addWidget(ProductName);
    texts->addWidget(Version);
    texts->addStretch();
    auto* inner = new QHBoxLayout(panel);
    inner->addWidget(ProgramIcon, 0, Qt::AlignTop);
    inner->addSpacing(12);
    inner->addLayout(texts, 1);
    inner->setContentsMargins(16, 16, 32, 16);

    OKButton = new QPushButton(tr("OK"), this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint());
}
