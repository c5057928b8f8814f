// SPDX-License-Identifier: GPL-3.0-or-later
// TAboutBox: the program icon, the exercise title and its version line.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(const QString& caption, const QString& versionText, const QString& exerciseName,
              QWidget* parent = nullptr);

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QPushButton* OKButton;
};
