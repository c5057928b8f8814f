// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/HelpLstDlg.h"

#include "common/TextLines.h"
#include "config/Getsstr.h"
#include "lab/Helplst.h"
#include "config/TextListWindow.h"
#include "platform/Desktop.h"
#include "widgets/DialogUtil.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include <QVBoxLayout>

THelpLstDlg::THelpLstDlg(HelpState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("THelpLstDlg");
    setWindowTitle(QStringLiteral("Select Help Topic"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    MenuBar = new QMenuBar(this);
    Topics1 = MenuBar->addMenu(QStringLiteral("&Topics"));
    FindTopic1 = Topics1->addAction(QStringLiteral("Find &Topic..."));
    ReadPrintTopic1 = Topics1->addAction(QStringLiteral("&Read/Print Topic..."));
    CloseHelpTopics1 = Topics1->addAction(QStringLiteral("&Close Help Topics"));

    ListBox1 = makeTextListBox(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(MenuBar);
    layout->addWidget(ListBox1);

    connect(FindTopic1, &QAction::triggered, this, &THelpLstDlg::FindTopic1Click);
    connect(ReadPrintTopic1, &QAction::triggered, this, &THelpLstDlg::ReadPrintTopic1Click);
    connect(CloseHelpTopics1, &QAction::triggered, this, &THelpLstDlg::CloseHelpTopics1Click);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { ReadPrintTopic1Click(); });
}

void THelpLstDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    ListBox1->clear();
    HelpList* list = state_.CurrentHelpList;
    if (!hasHelpList(list)) {
        desktop().message(noHelpListMessage());
        return;
    }
    for (const HelpTopicEntry& e : list->entries())
        ListBox1->addItem(QString::fromStdString(e.Title));
    sizeToTextList(*this, *ListBox1, MenuBar->sizeHint().height(), 30, 230);
    centreOnScreen(this);
    selectRowAtTop(*ListBox1, list->CurrentIndex);
    GetSrchStrDlg()->ResetSearch();
}

void THelpLstDlg::FindTopic1Click() {
    HelpList* list = state_.CurrentHelpList;
    TGetSrchStrDlg* dlg = GetSrchStrDlg();
    dlg->setWindowTitle(QStringLiteral("Find Help Topic"));
    dlg->EmptySearch = false;
    desktop().execDialog(*dlg);
    // A search asked for without text ends as cancelled, and says so.
    const std::string text = dlg->EmptySearch ? std::string() : dlg->SearchText.toStdString();
    if (!dlg->EmptySearch && (dlg->How == TGetSrchStrDlg::Cancelled || text.empty())) return;
    if (!list) {
        sayStringNotFound(QString());
        return;
    }
    const TextSearchOutcome found =
        findHelpTopic(*list, selectedRow(*ListBox1), dlg->How == TGetSrchStrDlg::FromCursor, text,
                      dlg->CaseDependent);
    if (found.message) {
        desktop().message(*found.message);
        return;
    }
    selectRowAtTop(*ListBox1, found.line);
}

void THelpLstDlg::ReadPrintTopic1Click() {
    HelpList* list = state_.CurrentHelpList;
    if (!list) return;
    const HelpPick pick = pickHelpEntry(*list, selectedRow(*ListBox1));
    if (pick.kind == HelpPick::Beep) desktop().beep();
    if (pick.message) desktop().message(*pick.message);
    if (pick.kind == HelpPick::Topic) accept();
}

void THelpLstDlg::CloseHelpTopics1Click() {
    reject();
}

void THelpLstDlg::reject() {
    if (HelpList* list = state_.CurrentHelpList) list->CurrentIndex = selectedRow(*ListBox1);
    QDialog::reject();
}
