// SPDX-License-Identifier: GPL-3.0-or-later
// The review list: selection, edit through the entry dialog, delete, undo.
#include "app/RsltsList.h"
#include "app/ResultsDlg.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"
#include "support/FakeSession.h"
#include "support/ScriptedDesktop.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

MeasurementRec rec(long double jd, float io, bool ioIncluded = true) {
    MeasurementRec r;
    r.JulianDate = jd;
    r.Offset[1] = io;
    r.Included[1] = ioIncluded;
    return r;
}

const Message NotSelected{"Data Not Selected!", "You must select a valid data record!",
                          MsgIcon::Error, BtnOk};
const Message VerifyDeletion{"Verify Deletion", "Delete the selected record?", MsgIcon::Question,
                             BtnOk | BtnCancel};
const Message AskUndo{"Undo Edit/Delete?", "Restore the modified/deleted record?",
                      MsgIcon::Question, BtnOk | BtnCancel};

class RsltsListTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (long double jd : {2454500.5L, 2454501.5L, 2454502.5L})
            entry.Table.InsertOrdered(rec(jd, float(jd - 2454500.0L)));
        list.show();
    }
    void TearDown() override { EXPECT_TRUE(desk.allAnswersUsed()); }
    std::vector<long double> dates() {
        std::vector<long double> out;
        for (const MeasurementRec& r : entry.Table.records())
            out.push_back(r.JulianDate);
        return out;
    }
    QString line(int i) const { return list.ListBox1->item(i)->text(); }
    void deleteLine(int l) {
        list.SelectLine(l);
        desk.answerMessage(MsgResult::Ok);
        list.DeleteSelectedLine1Click();
    }

    ScriptedDesktop desk;
    FakeSession session;
    OptionsRecord opts;
    LoginRecord login;
    TResultsForm1 entry{session};
    RsltsListForm1 list{entry, session, opts, login};
};

TEST_F(RsltsListTest, ShowsTheTableBelowTheHeaderWithOnlyItsOwnMenus) {
    EXPECT_EQ(list.windowTitle(), "Review/Edit/Print Measurements");
    EXPECT_FALSE(list.SaveasText1->menuAction()->isVisible());
    EXPECT_FALSE(list.N1->isVisible());
    EXPECT_TRUE(list.Edit1->menuAction()->isVisible());
    EXPECT_FALSE(list.UndoEditDelete1->isEnabled());
    EXPECT_EQ(list.Lines(), ReviewListLines(entry.Table));
    EXPECT_EQ(list.ListBox1->count(), 8);
}

TEST_F(RsltsListTest, EditAndDeleteNeedARecordLine) {
    for (int l : {-1, 0, 4}) {
        list.SelectLine(l);
        desk.answerMessage(MsgResult::Ok);
        desk.answerMessage(MsgResult::Ok);
        list.EditSelectedLine1Click();
        list.DeleteSelectedLine1Click();
    }
    EXPECT_EQ(desk.messages, std::vector<Message>(6, NotSelected));
    EXPECT_EQ(entry.Table.Count(), 3);
    EXPECT_TRUE(session.dataSaved);
}

TEST_F(RsltsListTest, DeleteSelectsTheRecordAfterItAndUndoPutsItBack) {
    deleteLine(7); // the last record: the new last is selected
    EXPECT_EQ(dates(), (std::vector<long double>{2454500.5L, 2454501.5L}));
    EXPECT_EQ(list.SelectedLine(), 6);
    EXPECT_FALSE(session.dataSaved);
    EXPECT_TRUE(entry.Table.MeasurementsChanged);
    EXPECT_TRUE(list.UndoEditDelete1->isEnabled());

    // A deletion declined at the question leaves the last one undoable.
    list.SelectLine(5);
    desk.answerMessage(MsgResult::Cancel);
    list.DeleteSelectedLine1Click();
    EXPECT_EQ(entry.Table.Count(), 2);

    session.dataSaved = true; // saved in between: the undo changes the table again
    desk.answerMessage(MsgResult::Ok);
    list.UndoEditDelete1Click();
    EXPECT_EQ(dates(), (std::vector<long double>{2454500.5L, 2454501.5L, 2454502.5L}));
    EXPECT_EQ(list.SelectedLine(), 7);
    EXPECT_FALSE(list.UndoEditDelete1->isEnabled());
    EXPECT_FALSE(session.dataSaved);

    deleteLine(6); // a middle record
    EXPECT_EQ(list.SelectedLine(), 6);
    desk.answerMessage(MsgResult::Ok);
    list.UndoEditDelete1Click();
    EXPECT_EQ(dates(), (std::vector<long double>{2454500.5L, 2454501.5L, 2454502.5L}));
    EXPECT_EQ(list.SelectedLine(), 6);
    EXPECT_EQ(desk.messages, (std::vector<Message>{VerifyDeletion, VerifyDeletion, AskUndo,
                                                   VerifyDeletion, AskUndo}));

    for (int i = 0; i < 3; ++i)
        deleteLine(5);
    EXPECT_TRUE(entry.Table.IsEmpty());
    EXPECT_EQ(list.SelectedLine(), 4); // the column header
    EXPECT_EQ(list.ListBox1->count(), 5);
    EXPECT_EQ(session.dataMenusEnabled, 0); // the menus stay as they were
}

TEST_F(RsltsListTest, EditGoesThroughTheEntryDialogAndUndoRestoresTheOldValues) {
    const std::string before = line(6).toStdString();
    list.SelectLine(6);
    desk.onDialog([this](QDialog&) {
        EXPECT_EQ(entry.IOEd->text(), "1.50W");
        entry.IOEd->setText("1.5W*");
        entry.EuropaEd->setText("2.25e");
        entry.OKBtnClick();
    });
    list.ListBox1DblClick();
    EXPECT_EQ(line(6).toStdString(), "2454501.50000    1.50*    -2.25" + std::string(23, ' '));
    EXPECT_EQ(list.SelectedLine(), 6);
    EXPECT_FALSE(session.dataSaved);
    EXPECT_TRUE(entry.Table.MeasurementsChanged);
    EXPECT_FALSE(entry.Table.GoToIndex(1)->Included[1]);
    EXPECT_EQ(dates().size(), 3u);

    entry.Table.MeasurementsChanged = false;
    desk.answerMessage(MsgResult::Ok);
    list.UndoEditDelete1Click();
    EXPECT_EQ(line(6).toStdString(), before);
    EXPECT_TRUE(entry.Table.GoToIndex(1)->Included[1]);
    EXPECT_TRUE(entry.Table.MeasurementsChanged);

    // Cancel changes nothing and leaves nothing to undo.
    list.SelectLine(5);
    desk.onDialog([this](QDialog&) {
        entry.IOEd->setText("9W");
        entry.CancelBtn->click();
    });
    session.dataSaved = true;
    list.EditSelectedLine1Click();
    EXPECT_EQ(list.Lines(), ReviewListLines(entry.Table));
    EXPECT_EQ(entry.Table.GoToIndex(0)->Offset[1], 0.5f);
    EXPECT_TRUE(session.dataSaved);
    EXPECT_FALSE(list.UndoEditDelete1->isEnabled());
}

TEST_F(RsltsListTest, ARecordStoredWhileTheListIsOpenDoesNotShiftTheSelection) {
    list.SelectLine(6); // 2454501.5 as shown
    entry.Table.Reset();
    entry.Table.InsertOrdered(rec(2454499.5L, 7.0f)); // recorded meanwhile, before it
    desk.answerMessage(MsgResult::Ok);
    list.DeleteSelectedLine1Click();
    EXPECT_EQ(dates(), (std::vector<long double>{2454499.5L, 2454500.5L, 2454502.5L}));
    EXPECT_EQ(list.Lines(), ReviewListLines(entry.Table));

    // A record deleted elsewhere cannot be chosen from the old lines.
    list.SelectLine(7); // 2454502.5
    entry.Table.GoToIndex(2);
    entry.Table.DeleteAtCursor();
    desk.answerMessage(MsgResult::Ok);
    list.EditSelectedLine1Click();
    EXPECT_EQ(desk.messages, (std::vector<Message>{VerifyDeletion, NotSelected}));
    EXPECT_EQ(list.Lines(), ReviewListLines(entry.Table));
}

TEST_F(RsltsListTest, ARightClickOnALineOpensThePopupMenu) {
    const QPoint at = list.ListBox1->visualItemRect(list.ListBox1->item(5)).center();
    desk.onPopupMenu([this](QMenu& m) {
        EXPECT_EQ(&m, list.PopupMenu1);
        EXPECT_EQ(list.SelectedLine(), 5);
        desk.answerMessage(MsgResult::Ok);
        list.Delete1->trigger();
    });
    list.ListBox1MouseUp(Qt::RightButton, at);
    EXPECT_EQ(list.LastMouseButton, Qt::RightButton);
    EXPECT_EQ(dates(), (std::vector<long double>{2454501.5L, 2454502.5L}));
    list.ListBox1MouseUp(Qt::LeftButton, at); // no menu
    EXPECT_EQ(list.LastMouseButton, Qt::LeftButton);
}

TEST_F(RsltsListTest, ShowingAgainShowsTheTableAsItIsNow) {
    entry.Table.InsertOrdered(rec(2454503.5L, -12.5f));
    list.ShowReport();
    EXPECT_EQ(list.ListBox1->count(), 9);
    EXPECT_EQ(line(8).toStdString(), "2454503.50000  -12.50" + std::string(33, ' '));
}

} // namespace
