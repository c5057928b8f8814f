// SPDX-License-Identifier: GPL-3.0-or-later
// The help topic list dialog and the help text viewer, walked through the
// scripted desktop: every message word for word, navigation and printing.
#include "config/Getsstr.h"
#include "config/HelpLstDlg.h"
#include "config/HelpWindows.h"
#include "config/Helptxt.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedDesktop.h"
#include "support/TempDir.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

const char* const kList = "\"Moons\" \"begin\"\n"
                          "\"Io\" \"moons.txt\"\n"
                          "\"Europa\" \"moons.txt\"\n"
                          "\"Ganymede\" \"moons.txt\"\n"
                          "\"Deep\" \"begin\"\n"
                          "\"Callisto\" \"callisto.txt\"\n"
                          "\"\" \"end\"\n"
                          "\"\" \"end\"\n"
                          "\"Narrow\" \"moons.txt\"\n"
                          "\"Absent\" \"moons.txt\"\n"
                          "\"Lost\" \"lost.txt\"\n";
// Entries: 0 -Moons-, 1 Io, 2 Europa, 3 Ganymede, 4 separator, 5 -Deep-, 6 Callisto,
// 7 separator, 8 Narrow, 9 Absent, 10 Lost.

const char* const kMoons =
    "*Io*\n"
    "Io is the innermost of the four large moons and the most volcanic body.\n"
    "Related Topics:\n"
    "Europa\n"
    "Nowhere\n"
    "*Europa*\n"
    "Europa is covered by ice, perhaps with an ocean beneath its crust.\n"
    "Related Topics:\n"
    "  ganymede \n"
    "-Moons-\n"
    "*Ganymede*\n"
    "Ganymede is the largest moon in the solar system, larger than Mercury.\n"
    "*Narrow*\n"
    "short\n"
    "lines\n";

class HelpWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        opts.ExeDir = dir.path();
        login.StudentName1 = "Ada Lovelace";
        writeTestFile(dir.file("moons.txt"), kMoons);
        writeTestFile(dir.file("callisto.txt"), "Callisto is heavily cratered and old.\n");
        writeTestFile(dir.file("list.lst"), kList);
        ASSERT_TRUE(list.Load(dir.file("list.lst")));
    }
    void TearDown() override {
        help.TextWin()->close();
        EXPECT_TRUE(desk.allAnswersUsed());
    }
    // Opens the topic list dialog from a Help menu and runs the script in it.
    void openList(HelpList* l, std::function<void(THelpLstDlg&)> script) {
        desk.onDialog([script](QDialog& d) { script(dynamic_cast<THelpLstDlg&>(d)); });
        help.OpenHelpList(l);
    }
    // Picks the entry at row from the dialog.
    void pick(int row) {
        openList(&list, [row](THelpLstDlg& d) {
            d.ListBox1->setCurrentRow(row);
            d.ReadPrintTopic1Click();
        });
    }
    void search(const QString& caption, const QString& text, bool fromTop) {
        desk.onDialog([caption, text, fromTop](QDialog& d) {
            auto& s = dynamic_cast<TGetSrchStrDlg&>(d);
            EXPECT_EQ(s.windowTitle(), caption);
            s.SrchStr1->setText(text);
            (fromTop ? s.FromTopBtn : s.FromCursorBtn)->click();
        });
    }
    THelpWin& win() { return *help.TextWin(); }
    std::vector<QString> shown() {
        std::vector<QString> out;
        for (int i = 0; i < win().ListBox1->count(); ++i)
            out.push_back(win().ListBox1->item(i)->text());
        return out;
    }
    int row(const QString& text) {
        const auto l = shown();
        for (std::size_t i = 0; i < l.size(); ++i)
            if (l[i].trimmed() == text) return int(i);
        return -1;
    }
    static Message notAvailable(const std::string& caption, const std::string& title) {
        return {caption,
                "Help Topic: " + title + "\n\nHelp on this topic is not available at this time.",
                MsgIcon::Information, BtnOk};
    }

    ScriptedDesktop desk;
    TempDir dir;
    OptionsRecord opts;
    LoginRecord login;
    HelpList list;
    HelpWindows help{&opts, &login};
};

TEST_F(HelpWindowsTest, WithoutAListTheDialogSaysSoAndShowsNothing) {
    HelpList unloaded;
    for (HelpList* l : {static_cast<HelpList*>(nullptr), &unloaded}) {
        desk.answerMessage(MsgResult::Ok);
        openList(l, [](THelpLstDlg& d) { EXPECT_EQ(d.ListBox1->count(), 0); });
    }
    const Message none{"Error", "No Help List to Display!", MsgIcon::Error, BtnOk};
    EXPECT_EQ(desk.messages, (std::vector<Message>{none, none}));
    EXPECT_FALSE(win().isVisible());
}

TEST_F(HelpWindowsTest, TheDialogShowsTheOutlineFromTheCurrentEntryAndResetsTheSearch) {
    GetSrchStrDlg()->SearchText = "old";
    GetSrchStrDlg()->CaseDependent = true;
    list.CurrentIndex = 6;
    openList(&list, [](THelpLstDlg& d) {
        EXPECT_EQ(d.windowTitle(), "Select Help Topic");
        EXPECT_TRUE(d.windowFlags() & Qt::WindowStaysOnTopHint);
        ASSERT_EQ(d.ListBox1->count(), 11);
        EXPECT_EQ(d.ListBox1->item(6)->text(), "    Callisto");
        EXPECT_EQ(d.ListBox1->currentRow(), 6);
        EXPECT_TRUE(d.ListBox1->item(6)->isSelected());
        EXPECT_GE(d.width(), 230);
        QStringList menu;
        for (QAction* a : d.Topics1->actions())
            menu << a->text();
        EXPECT_EQ(menu,
                  (QStringList{"Find &Topic...", "&Read/Print Topic...", "&Close Help Topics"}));
        d.ListBox1->clearSelection();
        d.CloseHelpTopics1Click();
    });
    EXPECT_EQ(GetSrchStrDlg()->SearchText, "");
    EXPECT_FALSE(GetSrchStrDlg()->CaseDependent);
    EXPECT_EQ(list.CurrentIndex, -1); // closed with nothing selected
    EXPECT_FALSE(win().isVisible());
}

TEST_F(HelpWindowsTest, ReadingASeparatorBeepsAHeadingSaysSoAndATopicIsShown) {
    desk.answerMessage(MsgResult::Ok);
    desk.answerMessage(MsgResult::Ok);
    openList(&list, [](THelpLstDlg& d) {
        for (int row : {4, 0, 5}) {
            d.ListBox1->setCurrentRow(row);
            d.ReadPrintTopic1Click();
            EXPECT_TRUE(d.isVisible());
        }
        d.ListBox1->clearSelection();
        d.ReadPrintTopic1Click(); // nothing selected: nothing happens
        d.ListBox1->setCurrentRow(2);
        emit d.ListBox1->itemDoubleClicked(d.ListBox1->item(2));
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(desk.beeps, 1);
    EXPECT_EQ(
        desk.messages,
        (std::vector<Message>{
            {"Topic Heading", "Select a Topic Under \"-Moons-\"", MsgIcon::Information, BtnOk},
            {"Topic Heading", "Select a Topic Under \"-Deep-\"", MsgIcon::Information, BtnOk}}));
    EXPECT_EQ(list.CurrentIndex, 2);
    EXPECT_EQ(help.State.CurrentHelpTopic, (HelpTopicEntry{"  Europa", "moons.txt"}));
    EXPECT_EQ(help.State.HelpFolder, dir.path());
    EXPECT_TRUE(win().isVisible());
    EXPECT_TRUE(win().windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(win().windowTitle(), "Help - Europa");
    EXPECT_EQ(win().FullFileName, dir.file("moons.txt"));
    EXPECT_EQ(shown(),
              (std::vector<QString>{
                  " ", "  Europa is covered by ice, perhaps with an ocean beneath its crust.  ",
                  "  Related Topics:  ", "    ganymede   ", "  -Moons-  ", " "}));
    EXPECT_EQ(win().Listing.relatedIndex, 2);
    EXPECT_TRUE(win().ShowHelpTopics1->isEnabled());
    EXPECT_FALSE(win().Back1->isEnabled());
}

TEST_F(HelpWindowsTest, FindTopicMatchesWholeTitlesFromTheTopOrAfterTheSelection) {
    for (int i = 0; i < 3; ++i)
        desk.answerMessage(MsgResult::Ok);
    openList(&list, [this](THelpLstDlg& d) {
        search("Find Help Topic", "deep", true);
        d.FindTopic1Click();
        EXPECT_EQ(d.ListBox1->currentRow(), 0); // a heading is found only with its dashes
        search("Find Help Topic", "-deep-", true);
        d.FindTopic1Click();
        EXPECT_EQ(d.ListBox1->currentRow(), 5);
        search("Find Help Topic", "Io", false);
        d.FindTopic1Click();
        EXPECT_EQ(d.ListBox1->currentRow(), 5); // Io lies before the selection
        desk.onDialog([](QDialog& s) { dynamic_cast<TGetSrchStrDlg&>(s).CancelBtn->click(); });
        d.FindTopic1Click();
        EXPECT_EQ(d.ListBox1->currentRow(), 5);
        search("Find Help Topic", "", true);
        d.FindTopic1Click();
        EXPECT_EQ(d.ListBox1->currentRow(), 5);
    });
    ASSERT_EQ(desk.messages.size(), 3u);
    EXPECT_EQ(desk.messages[2].text, "\"\" Not Found.");
    EXPECT_EQ(desk.messages[0],
              (Message{"String Not Found", "\"deep\" Not Found.", MsgIcon::Information, BtnOk}));
    EXPECT_EQ(desk.messages[1].text, "\"Io\" Not Found.");
}

TEST_F(HelpWindowsTest, TheViewerReportsEachTopicItCannotShow) {
    // Parameters not set, a file that is not there, a topic not in its file, a
    // topic of narrow lines.
    for (int i = 0; i < 4; ++i)
        desk.answerMessage(MsgResult::Ok);
    win().ShowTopic();
    pick(10);
    pick(9);
    pick(8);
    EXPECT_EQ(desk.messages,
              (std::vector<Message>{
                  {"Error", "THelpWin Parameters Not Set!", MsgIcon::Error, BtnOk},
                  {"Help Not Available",
                   "Cannot Access Help File " + dir.file("lost.txt") + "\n\nFile Not Found!",
                   MsgIcon::Warning, BtnOk},
                  notAvailable("Topic Not Found", "Absent"),
                  notAvailable("No Text for Topic", "Narrow")}));
    EXPECT_EQ(win().ListBox1->count(), 0);
    EXPECT_EQ(win().windowTitle(), "Help - Narrow");
}

TEST_F(HelpWindowsTest, RelatedTopicsLeadOnAndBackReturnsThroughTheTopicsVisited) {
    pick(1); // Io
    EXPECT_FALSE(win().Back1->isEnabled());
    win().ListBox1DblClick(row("Nowhere")); // names no topic of the list
    win().ListBox1DblClick(
        row("Io is the innermost of the four large moons and the most volcanic body."));
    EXPECT_EQ(win().windowTitle(), "Help - Io");
    win().ListBox1DblClick(row("Europa"));
    EXPECT_EQ(win().windowTitle(), "Help - Europa");
    EXPECT_EQ(list.CurrentIndex, 2);
    win().ListBox1DblClick(row("-Moons-")); // a heading is no topic to read
    EXPECT_EQ(win().windowTitle(), "Help - Europa");
    win().ListBox1DblClick(row("ganymede"));
    EXPECT_EQ(win().windowTitle(), "Help - Ganymede");
    EXPECT_EQ(win().History.Count(), 3);
    ASSERT_TRUE(win().Back1->isEnabled());
    win().Back1Click();
    EXPECT_EQ(win().windowTitle(), "Help - Europa");
    EXPECT_EQ(list.CurrentIndex, 2);
    EXPECT_TRUE(win().Back1->isEnabled());
    win().Back1Click();
    EXPECT_EQ(win().windowTitle(), "Help - Io");
    EXPECT_EQ(row("Europa"), 3);
    EXPECT_FALSE(win().Back1->isEnabled());
    EXPECT_TRUE(desk.messages.empty());

    // Closing forgets the topics visited.
    win().ListBox1DblClick(row("Europa"));
    win().CloseTopicWindow1Click();
    EXPECT_FALSE(win().isVisible());
    EXPECT_EQ(win().History.Count(), 0);
    EXPECT_FALSE(win().Back1->isEnabled());
}

TEST_F(HelpWindowsTest, ShowHelpTopicsPicksAnotherTopicIntoTheHistory) {
    help.ShowHelpFile("On Help", "callisto.txt"); // a file without markers is shown whole
    EXPECT_EQ(win().windowTitle(), "Help - On Help");
    EXPECT_EQ(shown(),
              (std::vector<QString>{" ", "  Callisto is heavily cratered and old.  ", " "}));
    EXPECT_FALSE(win().ShowHelpTopics1->isEnabled()); // no list yet
    pick(3);
    EXPECT_EQ(win().windowTitle(), "Help - Ganymede");
    EXPECT_TRUE(win().ShowHelpTopics1->isEnabled());
    desk.onDialog([](QDialog& d) {
        auto& dlg = dynamic_cast<THelpLstDlg&>(d);
        EXPECT_EQ(dlg.ListBox1->currentRow(), 3);
        dlg.ListBox1->setCurrentRow(6);
        dlg.ReadPrintTopic1Click();
    });
    win().ShowHelpTopics1Click();
    EXPECT_EQ(win().windowTitle(), "Help - Callisto");
    EXPECT_EQ(win().History.Count(), 3);
    win().Back1Click();
    win().Back1Click();
    EXPECT_EQ(win().windowTitle(), "Help - On Help");
}

TEST_F(HelpWindowsTest, SearchTextSelectsTheLineOfAMatchAcrossLineBreaks) {
    pick(1);
    search("Find Help Item", "volcanic body. related", true);
    win().SearchText1Click();
    EXPECT_EQ(win().ListBox1->currentRow(), 1);
    search("Find Help Item", "TOPICS: europa", false);
    win().SearchText1Click();
    EXPECT_EQ(win().ListBox1->currentRow(), 2);
    search("Find Help Item", "volcanic", false);
    desk.answerMessage(MsgResult::Ok);
    win().SearchText1Click();
    EXPECT_EQ(desk.messages, (std::vector<Message>{{"String Not Found", "\"volcanic\" Not Found.",
                                                    MsgIcon::Information, BtnOk}}));
    EXPECT_EQ(win().ListBox1->currentRow(), 2);
}

TEST_F(HelpWindowsTest, PrintsTheHeaderTheTitlesAndTheTopicLines) {
    login.StudentName3 = "Charles Babbage";
    pick(1);
    RecordingPrinter rec;
    rec.width = 3000; // landscape: a left margin of 50
    rec.height = 16 * 12;
    desk.onPrint([&rec](const PrintRequest&) { return surfaceRecordingInto(rec); });
    win().PrintTopic1Click();
    ASSERT_EQ(desk.printRequests.size(), 1u);
    EXPECT_EQ(desk.printRequests[0].title, "ORVA Exercise - \"Quorvex\" - Ada Lovelace");
    EXPECT_TRUE(rec.ended);
    EXPECT_TRUE(win().isEnabled());
    ASSERT_EQ(rec.items.size(), 11u);
    EXPECT_TRUE(rec.items[0].text.endsWith("     Laboratory Table Number (Not Recorded)"));
    EXPECT_EQ(rec.items[0].font, "Courier 10 fixed");
    auto item = [&](std::size_t i) {
        return std::make_tuple(rec.items[i].page, rec.items[i].x, rec.items[i].y,
                               rec.items[i].text);
    };
    EXPECT_EQ(item(0), std::make_tuple(1, 50, 0, rec.items[0].text));
    EXPECT_EQ(item(1), std::make_tuple(1, 50, 32, QString("Ada Lovelace")));
    EXPECT_EQ(item(2), std::make_tuple(1, 50, 48, QString("Charles Babbage")));
    EXPECT_EQ(item(3),
              std::make_tuple(1, 100, 80, QString("ORVA Exercise - \"Quorvex\" - Ada Lovelace")));
    EXPECT_EQ(item(4), std::make_tuple(1, 100, 112, QString("Help - Io")));
    EXPECT_EQ(item(5), std::make_tuple(1, 100, 144, QString(" ")));
    EXPECT_EQ(item(6), std::make_tuple(1, 100, 160, shown()[1]));
    EXPECT_EQ(item(7), std::make_tuple(1, 100, 176, QString("  Related Topics:  ")));
    EXPECT_EQ(item(8), std::make_tuple(2, 100, 16, QString("  Europa  "))); // a new page on line 2
    EXPECT_EQ(item(10), std::make_tuple(2, 100, 48, QString(" ")));
    // A cancelled printer dialog prints nothing.
    desk.onPrint([](const PrintRequest&) { return std::unique_ptr<PrintSurface>(); });
    win().PrintTopic1Click();
    EXPECT_EQ(rec.items.size(), 11u);
    // A printout that ends in error is reported.
    RecordingPrinter failing;
    failing.failEnd = true;
    desk.onPrint([&failing](const PrintRequest&) { return surfaceRecordingInto(failing); });
    desk.answerMessage(MsgResult::Ok);
    win().PrintTopic1Click();
    EXPECT_EQ(desk.messages.back(),
              (Message{"Print Error", "Unable to print.", MsgIcon::Error, BtnOk}));
    EXPECT_TRUE(win().isEnabled());
}

} // namespace
