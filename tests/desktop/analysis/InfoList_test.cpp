// SPDX-License-Identifier: GPL-3.0-or-later
// The report window and the phenomena table: menus, sizing, search, printing,
// saving as text.
#include "analysis/InfoList.h"
#include "analysis/PhenomList.h"
#include "config/Getsstr.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"
#include "lab/TextListRules.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedDesktop.h"
#include "support/TempDir.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// A report window as a derived window uses it: filled, then shown.
class TestReport : public TInfoListForm1 {
public:
    TestReport(const OptionsRecord& o, const LoginRecord& l) : TInfoListForm1(o, l) {
        setWindowTitle("Test Report");
        FormCreate();
    }
};

std::vector<std::string> numbered(int n) {
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i)
        out.push_back("line " + std::to_string(i));
    return out;
}

// "Text (separator)" for each item, "-" for a separator, hidden ones left out.
QStringList shownItems(const QMenu* m) {
    QStringList out;
    for (QAction* a : m->actions())
        if (a->isVisible()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

class InfoListTest : public ::testing::Test {
protected:
    void SetUp() override {
        opts.UserDataDir = dataDir.path();
        login.StudentName1 = "Ann";
    }
    void TearDown() override { EXPECT_TRUE(desk.allAnswersUsed()); }
    void search(const QString& text, bool fromTop) {
        desk.onDialog([text, fromTop](QDialog& d) {
            auto& s = dynamic_cast<TGetSrchStrDlg&>(d);
            EXPECT_EQ(s.windowTitle(), "Find Text String");
            s.SrchStr1->setText(text);
            (fromTop ? s.FromTopBtn : s.FromCursorBtn)->click();
        });
        list.Search1Click();
    }

    ScriptedDesktop desk;
    TempDir dataDir;
    OptionsRecord opts;
    LoginRecord login;
    TestReport list{opts, login};
};

TEST_F(InfoListTest, MenusStartAsTheProgramDefinesThem) {
    EXPECT_EQ(shownItems(list.List1),
              (QStringList{"&Search...", "-", "&Print...", "-", "Save &Text", "-", "&Close"}));
    EXPECT_EQ(shownItems(list.SaveasText1),
              (QStringList{"As &Displayed...", "-", "&Comma Delimit (for Spreadsheet)..."}));
    EXPECT_EQ(shownItems(list.Edit1),
              (QStringList{"&Edit Selected Line...", "-", "&Delete Selected Line", "-",
                           "&Undo Edit/Delete"}));
    EXPECT_EQ(shownItems(list.PopupMenu1), (QStringList{"&Edit", "&Delete"}));
    EXPECT_FALSE(list.CommaDelimit->isEnabled());
    EXPECT_FALSE(list.UndoEditDelete1->isEnabled());
    EXPECT_TRUE(list.EditSelectedLine1->isEnabled());
    // A window without editing of its own hides "&Edit".
    EXPECT_FALSE(list.Edit1->menuAction()->isVisible());
    EXPECT_EQ(list.SelectedEntry, -1);
    EXPECT_FALSE(list.Printed || list.Saved);

    const QFont f = list.ListBox1->font();
    EXPECT_EQ(f.family(), "Liberation Mono");
    EXPECT_TRUE(f.bold());
    EXPECT_EQ(f.pixelSize(), 14);
    list.SetLines(numbered(3));
    list.show();
    EXPECT_EQ(list.ListBox1->visualItemRect(list.ListBox1->item(1)).height(), 16);
}

TEST_F(InfoListTest, ShowingSizesTheListToItsLines) {
    const QFontMetrics fm(list.ListBox1->font());
    const int frame = 2 * list.ListBox1->frameWidth();
    for (int n : {3, 21, 100}) {
        list.hide();
        list.SetLines(numbered(n));
        list.show();
        const TextListSize want = textListClientSize(fm.horizontalAdvance("line 99"),
                                                     fm.lineSpacing(), n, 10000, 30, 230);
        EXPECT_EQ(list.ListBox1->height(), want.height + frame) << n;
        EXPECT_GE(list.ListBox1->width(), 230 + frame) << n;
    }
}

TEST_F(InfoListTest, SearchRunsAcrossLinesFromTheTopOrAfterTheSelectedLine) {
    list.SetLines({"zero", "one", "two", "three", "four", "Io shadow", "  transit begins", "end"});
    search("shadow transit", true); // begins at the end of line 5, ends on line 6
    EXPECT_EQ(list.SelectedLine(), 5);
    list.SelectLine(4);
    search("begins", false); // in line 6's own text while line 5 is searched with it
    EXPECT_EQ(list.SelectedLine(), 6);
    list.SelectLine(7);
    desk.answerMessage(MsgResult::Ok);
    search("end", false); // from the cursor on the last line: nothing left to search
    EXPECT_EQ(desk.messages, (std::vector<Message>{{"String Not Found", "\"end\" Not Found.",
                                                    MsgIcon::Information, BtnOk}}));
    EXPECT_EQ(list.SelectedLine(), 7);
    desk.onDialog([](QDialog& d) { dynamic_cast<TGetSrchStrDlg&>(d).CancelBtn->click(); });
    list.Search1Click();
    EXPECT_EQ(list.SelectedLine(), 7);
    // An empty text finds nothing, and says so.
    desk.answerMessage(MsgResult::Ok);
    search("", true);
    EXPECT_EQ(desk.messages.back(),
              (Message{"String Not Found", "\"\" Not Found.", MsgIcon::Information, BtnOk}));
    EXPECT_EQ(list.SelectedLine(), 7);
}

TEST_F(InfoListTest, ActivationResetsTheSearchDialogAndDisablesCommaDelimit) {
    TGetSrchStrDlg* s = GetSrchStrDlg();
    s->SearchText = "io";
    s->CaseDependent = true;
    s->How = TGetSrchStrDlg::FromCursor;
    list.CommaDelimit->setEnabled(true);
    list.FormActivate();
    EXPECT_EQ(s->SearchText, "");
    EXPECT_FALSE(s->CaseDependent);
    EXPECT_EQ(s->How, TGetSrchStrDlg::Cancelled);
    EXPECT_FALSE(list.CommaDelimit->isEnabled());
}

TEST_F(InfoListTest, PrintsTheHeaderTheCaptionAndTheLinesOverPages) {
    RecordingPrinter rec;
    rec.height = 160; // ten lines of 16
    list.SetLines(numbered(12));
    desk.onPrint([&rec](const PrintRequest& r) {
        EXPECT_EQ(r.title, "ORVA Exercise \"Quorvex\" - Ann");
        return surfaceRecordingInto(rec);
    });
    list.Print1Click();
    ASSERT_TRUE(rec.ended);
    // Header: the date line at 0 and the name at 32; the caption two lines
    // below it, the lines two more below, at the margin (12 blanks) plus 50.
    ASSERT_EQ(rec.items.size(), 2u + 1u + 12u);
    EXPECT_EQ(rec.items[1].text, "Ann");
    EXPECT_EQ(rec.items[1].y, 32);
    const auto& caption = rec.items[2];
    EXPECT_EQ(caption.text, "Test Report");
    EXPECT_EQ(caption.x, 170);
    EXPECT_EQ(caption.y, 64);
    struct Where {
        int item, page, y;
    };
    // 96, 112, 128 and 144 fit in 160; the fifth line begins page 2 at one line height.
    for (const Where& w : {Where{3, 1, 96}, Where{6, 1, 144}, Where{7, 2, 16}, Where{14, 2, 128}}) {
        EXPECT_EQ(rec.items[w.item].page, w.page) << w.item;
        EXPECT_EQ(rec.items[w.item].y, w.y) << w.item;
        EXPECT_EQ(rec.items[w.item].x, 170) << w.item;
    }
    EXPECT_EQ(rec.items[7].text, "line 4");
    EXPECT_EQ(rec.pages, 2);
    EXPECT_TRUE(list.Printed);
    EXPECT_TRUE(list.Print1->isChecked());
    EXPECT_TRUE(list.isEnabled());

    // A cancelled printer dialog prints nothing and changes nothing.
    list.Printed = false;
    desk.onPrint([](const PrintRequest&) { return nullptr; });
    list.Print1Click();
    EXPECT_FALSE(list.Printed);
    EXPECT_FALSE(list.Print1->isChecked());

    // A printer that refuses a new page: said so, and the list counts as unprinted.
    RecordingPrinter refusing;
    refusing.height = 160;
    refusing.failNewPage = true;
    desk.onPrint([&refusing](const PrintRequest&) { return surfaceRecordingInto(refusing); });
    desk.answerMessage(MsgResult::Ok);
    list.Print1Click();
    EXPECT_EQ(desk.messages.back(),
              (Message{"Print Error", "Unable to print.\n\nThe printer could not start a new page.",
                       MsgIcon::Error, BtnOk}));
    EXPECT_FALSE(list.Printed);
    EXPECT_TRUE(list.isEnabled());
}

TEST_F(InfoListTest, SavesTheLinesUnderAnUpperCasedFileNameInTheChosenFolder) {
    list.SetLines({"Jupiter", "", "  Io 1.23"});
    const QString folder = QString::fromStdString(dataDir.path()) + "MixedCase";
    QDir().mkpath(folder);
    desk.answerSaveFile(folder + "/report.txt");
    desk.answerMessage(MsgResult::Ok);
    list.SaveasText1Click();
    ASSERT_EQ(desk.saveRequests.size(), 1u);
    const FileChoice& c = desk.saveRequests[0];
    EXPECT_EQ(c.caption, "Save Report in Text File");
    EXPECT_EQ(c.folder.toStdString(), dataDir.path()); // the group's data folder at first
    EXPECT_EQ(c.fileName, ".TXT");
    EXPECT_EQ(c.defaultSuffix, "TXT");
    EXPECT_TRUE(c.filter.startsWith("Text Files (*.TXT);;Image Header Text (*.HDR);;"));
    EXPECT_EQ(desk.messages,
              (std::vector<Message>{{"Text File Written", "Report Text Written to REPORT.TXT.",
                                     MsgIcon::Information, BtnOk}}));
    EXPECT_EQ(readTestFile(folder.toStdString() + "/REPORT.TXT"), "Jupiter\n\n  Io 1.23\n");
    EXPECT_FALSE(QFile::exists(folder + "/report.txt"));
    EXPECT_EQ(list.ReportFile, "REPORT.TXT");
    EXPECT_EQ(list.ReportDir, folder.toStdString() + "/");
    EXPECT_TRUE(list.Saved && list.Printed);
    EXPECT_TRUE(list.SaveasText1->menuAction()->isChecked());
    EXPECT_TRUE(list.Print1->isChecked());

    // The next save starts in that folder; cancelling it takes both marks away,
    // also on the next showing.
    desk.answerSaveFile(QString());
    list.SaveasText1Click();
    EXPECT_EQ(desk.saveRequests[1].folder, folder + "/");
    EXPECT_FALSE(list.Saved || list.Printed);
    list.show();
    EXPECT_FALSE(list.SaveasText1->menuAction()->isChecked());
    EXPECT_FALSE(list.Print1->isChecked());
}

TEST_F(InfoListTest, AFileThatCannotBeWrittenIsReportedAndTheFlagsStay) {
    list.SetLines({"x"});
    list.Printed = true;
    // A "folder" that is a plain file: the report cannot go there.
    const std::string folder = writeTestFile(dataDir.file("plain"), "old") + "/";
    desk.answerSaveFile(QString::fromStdString(folder + "out.txt"));
    desk.answerMessage(MsgResult::Ok);
    list.SaveasText1Click();
    EXPECT_EQ(desk.messages,
              (std::vector<Message>{
                  {"File Error", folder + "OUT.TXT\nPath Not Found!", MsgIcon::Error, BtnOk}}));
    EXPECT_EQ(readTestFile(dataDir.file("plain")), "old");
    EXPECT_TRUE(list.Printed);
    EXPECT_FALSE(list.Saved);
}

TEST_F(InfoListTest, ThePhenomenaTableOffersOnlyPrintAndCloseAndShowsNewLinesAtOnce) {
    PhenomListForm1 phenom(opts, login);
    EXPECT_EQ(phenom.windowTitle(), "Planetary Phenomena");
    EXPECT_EQ(shownItems(phenom.List1), (QStringList{"&Print...", "-", "&Close"}));
    EXPECT_FALSE(phenom.Edit1->menuAction()->isVisible());
    QStringList bar;
    for (QAction* a : phenom.MainMenu1->actions())
        if (a->isVisible()) bar << a->text();
    EXPECT_EQ(bar, QStringList{"&List"});

    phenom.ShowPhenomena({"Jupiter phenomena occurring near March 7, 2008", "(Times are UT)", ""});
    EXPECT_TRUE(phenom.isVisible());
    EXPECT_EQ(phenom.ListBox1->count(), 3);
    phenom.Printed = true;
    phenom.Close1Click(); // hidden, not destroyed: it keeps its marks
    EXPECT_FALSE(phenom.isVisible());
    phenom.ShowPhenomena({"Jupiter phenomena occurring near March 7, 2008", "(Times are UT)", ""});
    EXPECT_TRUE(phenom.Print1->isChecked());
    const int shortHeight = phenom.ListBox1->height();
    const std::string wide = "Quadrature (Sun Elongation 90\u00b0 West): May 9, 2008 at  6:15";
    phenom.ShowPhenomena({"Jupiter phenomena occurring near April 1, 2009", "(Times are UT)", "",
                          "Opposition:  August 14, 2009 at 18:13", wide});
    EXPECT_EQ(phenom.ListBox1->count(), 5);
    EXPECT_EQ(phenom.ListBox1->item(4)->text(), QString::fromStdString(wide));
    EXPECT_GT(phenom.ListBox1->height(), shortHeight);
}

} // namespace
