// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/Helptxt.h"

#include "common/TextLines.h"
#include "config/HelpLstDlg.h"
#include "lab/Helplst.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"
#include "config/TextListWindow.h"
#include "platform/Desktop.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>

THelpWin::THelpWin(HelpState& state, THelpLstDlg* topicsDlg, const OptionsRecord* options,
                   const LoginRecord* login, QWidget* parent)
    : QMainWindow(parent), state_(state), topicsDlg_(topicsDlg), options_(options), login_(login) {
    setObjectName("THelpWin");
    setWindowTitle(QStringLiteral("Help"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    Topic1 = menuBar()->addMenu(QStringLiteral("&Topic"));
    PrintTopic1 = Topic1->addAction(QStringLiteral("&Print Topic..."));
    SearchText1 = Topic1->addAction(QStringLiteral("&Search Text..."));
    ShowHelpTopics1 = Topic1->addAction(QStringLiteral("Show Help &Topics..."));
    CloseTopicWindow1 = Topic1->addAction(QStringLiteral("&Close Topic Window"));
    Back1 = menuBar()->addAction(QStringLiteral("&Back"));
    Back1->setEnabled(false);

    ListBox1 = makeTextListBox(this);
    setCentralWidget(ListBox1);

    connect(PrintTopic1, &QAction::triggered, this, &THelpWin::PrintTopic1Click);
    connect(SearchText1, &QAction::triggered, this, &THelpWin::SearchText1Click);
    connect(ShowHelpTopics1, &QAction::triggered, this, &THelpWin::ShowHelpTopics1Click);
    connect(CloseTopicWindow1, &QAction::triggered, this, &THelpWin::CloseTopicWindow1Click);
    connect(Back1, &QAction::triggered, this, &THelpWin::Back1Click);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { ListBox1DblClick(ListBox1->row(item)); });

    // The client area starts five inches wide at the screen's dots per inch.
    const int inch = logicalDpiX() > 0 ? logicalDpiX() : 96;
    resize(5 * inch, 3 * inch + menuBar()->sizeHint().height());
}

std::string THelpWin::exeDir() const {
    return options_ ? options_->ExeDir : state_.HelpFolder;
}

void THelpWin::ShowTopic() {
    if (!isVisible()) {
        show(); // the show adds the topic and loads it
        return;
    }
    addToHistory();
    LoadTopic();
    raise();
    activateWindow();
}

void THelpWin::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (event->spontaneous()) return; // restored by the window system: nothing new
    addToHistory();
    LoadTopic();
}

void THelpWin::closeEvent(QCloseEvent* event) {
    History.Forget();
    Back1->setEnabled(false);
    QMainWindow::closeEvent(event);
}

void THelpWin::addToHistory() {
    if (state_.CurrentHelpTopic) History.Add(*state_.CurrentHelpTopic);
    Back1->setEnabled(History.CanGoBack());
}

void THelpWin::clearLines() {
    Listing = HelpTopicListing{};
    ListBox1->clear();
}

bool THelpWin::LoadTopic() {
    ShowHelpTopics1->setEnabled(hasHelpList(state_.CurrentHelpList));
    if (!state_.CurrentHelpTopic || state_.HelpFolder.empty()) {
        desktop().message(helpParametersNotSetMessage());
        return false;
    }
    const HelpTopicEntry& topic = *state_.CurrentHelpTopic;
    FullFileName = state_.HelpFolder + topic.FileName;
    std::vector<std::string> fileLines;
    const int32_t code = readTextLines(FullFileName, fileLines);
    HelpTopicPage page = helpTopicPage(topic, FullFileName, code, fileLines);
    TopicTitle = QString::fromStdString(page.title);
    setWindowTitle(QString::fromStdString(page.caption));
    if (page.message) {
        clearLines();
        desktop().message(*page.message);
        return false;
    }
    Listing = std::move(page.listing);
    ListBox1->clear();
    for (const std::string& line : Listing.lines)
        ListBox1->addItem(QString::fromStdString(line));
    ListBox1->setCurrentItem(nullptr); // nothing selected: a search begins at the top
    sizeToTextList(*this, *ListBox1, menuBar()->sizeHint().height(), 20, 220);
    ListBox1->scrollToTop();
    return true;
}

void THelpWin::SearchText1Click() {
    const int found = searchTextList(*ListBox1, QStringLiteral("Find Help Item"));
    if (found >= 0) selectRow(*ListBox1, found);
}

void THelpWin::ListBox1DblClick(int row) {
    HelpList* list = state_.CurrentHelpList;
    const HelpTopicEntry* entry = list ? followRelatedTopic(*list, Listing, row) : nullptr;
    if (!entry) return;
    state_.CurrentHelpTopic = *entry;
    state_.HelpFolder = exeDir();
    addToHistory();
    LoadTopic();
}

void THelpWin::Back1Click() {
    const std::optional<HelpTopicEntry> previous = helpGoBack(History, state_.CurrentHelpList);
    Back1->setEnabled(History.CanGoBack());
    if (!previous) return;
    state_.CurrentHelpTopic = *previous;
    LoadTopic();
}

void THelpWin::ShowHelpTopics1Click() {
    HelpList* list = state_.CurrentHelpList;
    if (!hasHelpList(list) || !topicsDlg_) return;
    if (desktop().execDialog(*topicsDlg_) != QDialog::Accepted) return;
    const HelpTopicEntry* entry = list->EntryAt(list->CurrentIndex);
    if (!entry) return;
    state_.CurrentHelpTopic = *entry;
    addToHistory();
    LoadTopic();
}

void THelpWin::CloseTopicWindow1Click() {
    close();
}

void THelpWin::PrintTopic1Click() {
    PrintRequest request;
    request.title = printJobTitle(QString::fromStdString(login_ ? login_->StudentName1 : ""));
    std::unique_ptr<PrintSurface> surface = desktop().beginPrint(request);
    if (!surface) return;
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ListPrintout printout;
    printout.firstLine = printoutFirstLine(options_, login_);
    printout.names = printoutNameLines(login_);
    printout.headings << request.title << windowTitle();
    for (int i = 0; i < ListBox1->count(); ++i)
        printout.lines << ListBox1->item(i)->text();
    printTextListing(*surface, printout);
    const bool printed = surface->endDocument();
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    if (!printed) reportPrintFailure(*surface);
}
