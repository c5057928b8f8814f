// SPDX-License-Identifier: GPL-3.0-or-later
// The two panels of the observation desk: the eyepiece above (the view image
// inside a 2-pixel bevel) and the read-outs and buttons below.
#pragma once

#include <QFrame>

class QLabel;
class QPushButton;
class TelescopeImage;

inline constexpr int kUpperPanelHeight = 330;

class UpperPanel : public QFrame {
    Q_OBJECT
public:
    explicit UpperPanel(QWidget* parent = nullptr);
    TelescopeImage* Image1;
};

class LowerPanel : public QFrame {
    Q_OBJECT
public:
    explicit LowerPanel(QWidget* parent = nullptr);

    QLabel* DateLbl;
    QLabel* UTLbl;
    QLabel* JDLbl;
    QLabel* IntrvLbl;
    QLabel* AnmLbl;
    QLabel* CrsrLbl;
    QLabel* RdngLbl;
    QLabel* IDLbl;
    QPushButton* MagBtn[4]; // "100X" .. "400X"
    QPushButton* NextBtn;
    QPushButton* ContBtn;
    QPushButton* RecordBtn;
};
