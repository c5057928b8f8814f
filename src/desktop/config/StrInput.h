// SPDX-License-Identifier: GPL-3.0-or-later
// TStrIpDlg: a one-line string input dialog (stays on top, no title-bar
// buttons, centred on the screen). The opener sets Value, Caption and Prompt,
// shows it modally and, on OK, reads Value.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TStrIpDlg : public QDialog {
    Q_OBJECT
public:
    explicit TStrIpDlg(QWidget* parent = nullptr);

    QString Value;
    QString Caption;
    QString Prompt;

    QLabel* Label1;
    QLineEdit* EditStr;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OKBtnClick();
};
