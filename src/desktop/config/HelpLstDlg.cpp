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
        showMessage(QStringLiteral("Error"), QStringLiteral("No Help List to Display!"),
                    MsgIcon::Error);
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
    if (dlg->EmptySearch) sayStringNotFound(QString());
    if (dlg->How == TGetSrchStrDlg::Cancelled || dlg->SearchText.isEmpty() || !list) return;
    const int selected = selectedRow(*ListBox1);
    const int from = dlg->How == TGetSrchStrDlg::FromCursor ? selected + 1 : 0;
    const int found = list->Find(dlg->SearchText.toStdString(), from, dlg->CaseDependent);
    if (found < 0) {
        sayStringNotFound(dlg->SearchText);
        return;
    }
    selectRowAtTop(*ListBox1, found);
}

void THelpLstDlg::ReadPrintTopic1Click() {
    HelpList* list = state_.CurrentHelpList;
    const int selected = selectedRow(*ListBox1);
    const HelpTopicEntry* e = list ? list->EntryAt(selected) : nullptr;
    if (!e) return;
    if (e->isSeparator()) {
        desktop().beep();
        return;
    }
    if (e->isHeading()) {
        showMessage(QStringLiteral("Topic Heading"),
                    QStringLiteral("Select a Topic Under \"") +
                        QString::fromStdString(stripLeadingBlanks(e->Title)) + QStringLiteral("\""),
                    MsgIcon::Information);
        return;
    }
    list->CurrentIndex = selected;
    accept();
}

void THelpLstDlg::CloseHelpTopics1Click() {
    reject();
}

void THelpLstDlg::reject() {
    if (HelpList* list = state_.CurrentHelpList) list->CurrentIndex = selectedRow(*ListBox1);
    QDialog::reject();
}
