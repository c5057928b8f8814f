// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers shared by the program's windows.
#pragma once

#include <QIcon>

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Centres a window on the screen it is on (or the primary screen).
void centreOnScreen(QWidget* w);
// Centres a dialog on the window it belongs to (its parent's window), or on
// the screen when it has none.
void centreOnParent(QWidget* w);

// The program's icon: Jupiter's banded disc, drawn at any size.
QIcon programIcon();

// Masks what is typed into an edit with the given character (Qt's password
// echo mode shows its own bullet otherwise).
void setMaskCharacter(QLineEdit* edit, QChar mask);

class QDialogButtonBox;

// OK (the default button) and Cancel at the right of a button box, in this
// order on every desktop, with the captions given.
QDialogButtonBox* okCancelButtons(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel,
                                  const QString& okText = QStringLiteral("OK"),
                                  const QString& cancelText = QStringLiteral("Cancel"));

// The controls of a one-line prompt dialog: a label, an edit below it, and OK
// (the default button) and Cancel at the bottom right; Cancel rejects.
struct PromptControls {
    QLabel* label;
    QLineEdit* edit;
    QPushButton* ok;
    QPushButton* cancel;
};
PromptControls buildPromptDialog(QDialog* dialog, const QString& prompt, int editWidth);
