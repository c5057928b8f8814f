// SPDX-License-Identifier: GPL-3.0-or-later
// The date/time dialog and the hotlist window, walked through the scripted desktop.
#include "common/FileIO.h"
#include "config/DtUTdlg.h"
#include "config/Getsstr.h"
#include "common/FileErrors.h"
#include "config/HotList.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedDesktop.h"
#include "support/TempDir.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

double at(int y, int mo, int d, int h, int mi, int s) { return EncodeDateTime(y, mo, d, h, mi, s, 0); }

class HotListTest : public ::testing::Test {
protected:
    void SetUp() override {
        opts.ExeDir = exeDir.path();
        opts.UserDataDir = userDir.path();
        opts.HotListFile = "HotDates.htl";
        login.StudentName1 = "Ada Lovelace";
    }
    void TearDown() override {
        destroyHotListForm1();
        EXPECT_TRUE(desk.allAnswersUsed());
    }
    void writeList(const std::string& path, const std::vector<HotListEntry>& entries) {
        std::string bytes;
        for (const auto& e : entries) bytes += encodeHotListEntry(e);
        writeTestFile(path, bytes);
    }
    THotListForm1* form() { return ensureHotListForm1(&opts, &login); }
    std::vector<QString> lines() {
        std::vector<QString> out;
        for (int i = 0; i < form()->ListBox1->count(); ++i) out.push_back(form()->ListBox1->item(i)->text());
        return out;
    }
    static void select(THotListForm1* f, int row) {
        f->ListBox1->setCurrentRow(row);
        f->ListBox1->item(row)->setSelected(true);
    }
    void openWindow(std::function<void(THotListForm1&)> script) {
        desk.onDialog([script](QDialog& d) { script(dynamic_cast<THotListForm1&>(d)); });
        desktop().execDialog(*form());
    }
    Message msg(const std::string& caption, const std::string& text, MsgIcon icon,
                unsigned buttons = BtnOk) {
        return Message{caption, text, icon, buttons};
    }

    ScriptedDesktop desk;
    TempDir exeDir, userDir;
    OptionsRecord opts;
    LoginRecord login;
};

const char* const NoSelectionChoose =
    "Please select (highlight) an entry on the list, then select \"List\" -> \"Choose "
    "Selection\".\n(You can also double-click the selection.)";

TEST_F(HotListTest, AccessWithAnEmptyHotlistOnlySaysSo) {
    TUTTimeDlg dlg(&opts, &login);
    desk.answerMessage(MsgResult::Ok);
    dlg.AccessHotlist1Click();
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0], msg("Hotlist Empty!", "No Data in Hotlist!", MsgIcon::Warning));
    EXPECT_TRUE(desk.dialogTitles.empty());
    EXPECT_FALSE(hotListUnsaved());
    EXPECT_EQ(form()->HotListPath, userDir.file("HotDates.htl"));
}

TEST_F(HotListTest, ShowsAndStoresUtWithTheZoneOffsetApplied) {
    opts.ZoneOffset = 5;
    TUTTimeDlg dlg(&opts, &login);
    dlg.Clock.UTOffset = 5.0L / 24.0L;
    SetFromClock(dlg.Clock, at(2008, 3, 6, 20, 0, 0));
    desk.onDialog([](QDialog& d) {
        auto& t = dynamic_cast<TUTTimeDlg&>(d);
        EXPECT_EQ(t.windowTitle(), "Set Date/Time");
        EXPECT_EQ(t.DateEd->text(), "2008/03/07"); // 20:00 local is 01:00 UT next day
        EXPECT_EQ(t.TimeEd->text(), "01:00:00");
        EXPECT_FALSE(t.CmntEd->isVisible());
        EXPECT_FALSE(t.SaveUpdatedHotlist1->isEnabled());
        t.TimeEd->setText("02:00:00");
        t.PutDateTimeonHotlist1Click();
        EXPECT_TRUE(t.SaveUpdatedHotlist1->isEnabled());
        t.OKBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(dlg.Clock.ClockValue, at(2008, 3, 6, 21, 0, 0));
    ASSERT_EQ(form()->List.Count(), 1);
    EXPECT_DOUBLE_EQ(form()->List.entries()[0].Instant, at(2008, 3, 6, 21, 0, 0));
    EXPECT_EQ(lines(), std::vector<QString>{"2008/03/06 21:00:00"});
    EXPECT_TRUE(hotListUnsaved());
    EXPECT_TRUE(form()->SaveList1->isEnabled());
}

TEST_F(HotListTest, TheZoneOffsetMovesTheRightWayBefore1900) {
    // 1610/01/07 20:00 on a clock five hours behind UT is 1610/01/08 01:00 UT.
    opts.ZoneOffset = 5;
    TUTTimeDlg dlg(&opts, &login);
    dlg.Clock.UTOffset = 5.0L / 24.0L;
    SetFromClock(dlg.Clock, at(1610, 1, 7, 20, 0, 0));
    desk.onDialog([](QDialog& d) {
        auto& t = dynamic_cast<TUTTimeDlg&>(d);
        EXPECT_EQ(t.DateEd->text(), "1610/01/08");
        EXPECT_EQ(t.TimeEd->text(), "01:00:00");
        t.TimeEd->setText("03:00:00");
        t.PutDateTimeonHotlist1Click();
        t.OKBtn->click();
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(dlg.Clock.ClockValue, at(1610, 1, 7, 22, 0, 0));
    EXPECT_EQ(dlg.Clock.UTTime.Hour, 3);
    EXPECT_EQ(lines(), std::vector<QString>{"1610/01/07 22:00:00"});
    // Across day 0 of the count: 1899/12/29 22:00 on the clock is 03:00 UT on the 30th.
    SetFromClock(dlg.Clock, at(1899, 12, 29, 22, 0, 0));
    desk.onDialog([](QDialog& d) {
        auto& t = dynamic_cast<TUTTimeDlg&>(d);
        EXPECT_EQ(t.DateEd->text(), "1899/12/30");
        EXPECT_EQ(t.TimeEd->text(), "03:00:00");
        t.OKBtn->click();
    });
    desk.execDialog(dlg);
    EXPECT_DOUBLE_EQ(dlg.Clock.ClockValue, at(1899, 12, 29, 22, 0, 0));
}

TEST_F(HotListTest, WithCancelDisabledOnlyOkEndsTheDialog) {
    TUTTimeDlg dlg(&opts, &login);
    dlg.CancelEnabled = false;
    SetFromClock(dlg.Clock, at(2008, 3, 6, 0, 0, 0));
    desk.onDialog([](QDialog& d) {
        auto& t = dynamic_cast<TUTTimeDlg&>(d);
        EXPECT_FALSE(t.CancelBtn->isEnabled());
        QTest::keyClick(&t, Qt::Key_Escape);
        t.reject();
        EXPECT_TRUE(t.isVisible());
        t.OKBtn->click();
        EXPECT_FALSE(t.isVisible());
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    dlg.CancelEnabled = true;
    desk.onDialog([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Rejected);
}

TEST_F(HotListTest, RejectsABadDateAndKeepsTheClockAndTheList) {
    TUTTimeDlg dlg(&opts, &login);
    dlg.CancelEnabled = false;
    SetFromClock(dlg.Clock, at(2020, 1, 1, 0, 0, 0));
    desk.answerMessage(MsgResult::Ok);
    desk.answerMessage(MsgResult::Ok);
    desk.onDialog([](QDialog& d) {
        auto& t = dynamic_cast<TUTTimeDlg&>(d);
        EXPECT_FALSE(t.CancelBtn->isEnabled());
        t.DateEd->setText("2020/02/30");
        t.PutDateTimeonHotlist1Click();
        t.OKBtn->click();
        EXPECT_TRUE(t.isVisible());
    });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Rejected);
    const Message bad = msg("Set Date/Time", "'2020/02/30 00:00:00' is not a valid date and time",
                            MsgIcon::Error);
    EXPECT_EQ(desk.messages, (std::vector<Message>{bad, bad}));
    EXPECT_DOUBLE_EQ(dlg.Clock.ClockValue, at(2020, 1, 1, 0, 0, 0));
    EXPECT_TRUE(form()->List.IsEmpty());
}

TEST_F(HotListTest, CommentsAreTakenOnlyInEditModeAndNeverPastFiftyCharacters) {
    TUTTimeDlg dlg(&opts, &login);
    SetFromClock(dlg.Clock, at(2024, 5, 5, 5, 5, 5));
    dlg.Comment = "old";
    for (bool editMode : {false, true}) {
        opts.EditMode = editMode;
        desk.onDialog([editMode](QDialog& d) {
            auto& t = dynamic_cast<TUTTimeDlg&>(d);
            EXPECT_EQ(t.CmntEd->isVisible(), editMode);
            t.CmntEd->clear();
            QTest::keyClicks(t.CmntEd, QString(60, 'c'));
            t.OKBtn->click();
        });
        desk.execDialog(dlg);
        EXPECT_EQ(dlg.Comment, editMode ? QString(50, 'c') : QString("old"));
    }
}

TEST_F(HotListTest, EqualInstantsStandSideBySide) {
    opts.EditMode = true;
    const double t1 = at(2024, 1, 1, 1, 0, 0), t2 = at(2025, 1, 1, 1, 0, 0);
    writeList(exeDir.file("HotDates.htl"), {{t1, "first"}, {t2, "last"}});
    form()->Put({t1, "again"});
    form()->Put({t2, "late again"});
    form()->Put({t1, "third"});
    // Among equal instants the new entry's place depends on where the list's
    // cursor stood; what counts is that equal instants stay together in order.
    const auto l = lines();
    ASSERT_EQ(l.size(), 5u);
    QStringList early, late;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(l[i].startsWith("2024/01/01 01:00:00  ")) << l[i].toStdString();
        early << l[i].mid(21);
    }
    for (int i = 3; i < 5; ++i) {
        EXPECT_TRUE(l[i].startsWith("2025/01/01 01:00:00  ")) << l[i].toStdString();
        late << l[i].mid(21);
    }
    early.sort();
    late.sort();
    EXPECT_EQ(early, (QStringList{"again", "first", "third"}));
    EXPECT_EQ(late, (QStringList{"last", "late again"}));
}

TEST_F(HotListTest, ChoosingAnEntrySetsTheDialogsClockAndComment) {
    opts.EditMode = true;
    writeList(userDir.file("HotDates.htl"), {{at(2026, 7, 1, 3, 0, 0), "Io eclipse"},
                                             {at(2027, 8, 2, 4, 0, 0), "Europa"}});
    writeList(exeDir.file("HotDates.htl"), {{at(2000, 1, 1, 0, 0, 0), "not this one"}});
    TUTTimeDlg dlg(&opts, &login);
    desk.answerMessage(MsgResult::Ok);
    desk.onDialog([this](QDialog& d) {
        auto& t = dynamic_cast<TUTTimeDlg&>(d);
        desk.onDialog([](QDialog& h) {
            auto& f = dynamic_cast<THotListForm1&>(h);
            EXPECT_EQ(f.windowTitle(), "Select Date/Time for Observation");
            EXPECT_GE(f.width(), 230);
            f.ChooseSelection1Click(); // nothing selected yet
            select(&f, 1);
            f.ChooseSelection1Click();
        });
        t.AccessHotlist1Click();
        EXPECT_EQ(t.DateEd->text(), "2027/08/02");
        EXPECT_EQ(t.TimeEd->text(), "04:00:00");
        EXPECT_EQ(t.CmntEd->text(), "Europa");
        EXPECT_FALSE(t.SaveUpdatedHotlist1->isEnabled());
    });
    desk.execDialog(dlg);
    EXPECT_EQ(desk.messages,
              (std::vector<Message>{msg("No Selection!", NoSelectionChoose, MsgIcon::Warning)}));
    EXPECT_DOUBLE_EQ(dlg.Clock.ClockValue, at(2027, 8, 2, 4, 0, 0));
    EXPECT_EQ(dlg.Comment, "Europa");
}

TEST_F(HotListTest, DeleteAsksAndUndoPutsTheFirstLineBackAtTheTop) {
    writeList(exeDir.file("HotDates.htl"), {{at(2024, 1, 1, 0, 0, 0), "a"},
                                            {at(2024, 2, 1, 0, 0, 0), "b"},
                                            {at(2024, 3, 1, 0, 0, 0), "c"}});
    THotListForm1* f = form();
    const auto before = lines();
    EXPECT_FALSE(f->UndoEditDelete1->isEnabled());
    f->ListBox1->clearSelection();
    desk.answerMessage(MsgResult::Ok);
    desk.answerMessage(MsgResult::Ok);
    f->DeleteSelection1Click();
    f->EditSelection1Click();
    select(f, 0);
    desk.answerMessage(MsgResult::No);
    f->DeleteSelection1Click();
    EXPECT_EQ(lines(), before);
    EXPECT_FALSE(hotListUnsaved());
    desk.answerMessage(MsgResult::Yes);
    f->DeleteSelection1Click();
    EXPECT_EQ(lines(), (std::vector<QString>{before[1], before[2]}));
    EXPECT_EQ(f->List.Count(), 2);
    EXPECT_EQ(f->ListBox1->currentRow(), 0);
    EXPECT_TRUE(hotListUnsaved());
    EXPECT_TRUE(f->UndoEditDelete1->isEnabled());
    f->UndoEditDelete1Click();
    EXPECT_EQ(lines(), before);
    EXPECT_EQ(f->ListBox1->currentRow(), 0);
    EXPECT_EQ(f->List.entries()[0].Comment, "a");
    EXPECT_FALSE(f->UndoEditDelete1->isEnabled());

    const Message none = msg("No Selection!", "Please select an entry, using the left mouse button.",
                             MsgIcon::Warning);
    const Message confirm =
        msg("Confirm", "Delete Highlighted Entry from List?", MsgIcon::Question, BtnYes | BtnNo);
    EXPECT_EQ(desk.messages, (std::vector<Message>{none, none, confirm, confirm}));
}

TEST_F(HotListTest, EditChangesTheEntryInPlaceAndUndoRestoresIt) {
    opts.EditMode = true;
    opts.ZoneOffset = 5; // the edit dialog shows the stored value itself
    writeList(exeDir.file("HotDates.htl"), {{at(2024, 1, 1, 0, 0, 0), "a"},
                                            {at(2024, 2, 1, 0, 0, 0), "b"}});
    THotListForm1* f = form();
    select(f, 0);
    desk.onDialog([](QDialog& d) {
        auto& t = dynamic_cast<TUTTimeDlg&>(d);
        EXPECT_EQ(t.windowTitle(), "Edit Date/Time");
        EXPECT_EQ(t.MenuBar, nullptr);
        EXPECT_EQ(t.DateEd->text(), "2024/01/01");
        EXPECT_EQ(t.CmntEd->text(), "a");
        t.DateEd->setText("2030/01/01");
        t.CmntEd->setText("moved");
        t.OKBtn->click();
    });
    f->EditSelection1Click();
    EXPECT_EQ(lines(), (std::vector<QString>{"2030/01/01 00:00:00  moved", "2024/02/01 00:00:00  b"}));
    EXPECT_TRUE(hotListUnsaved());
    f->UndoEditDelete1Click();
    EXPECT_EQ(lines(), (std::vector<QString>{"2024/01/01 00:00:00  a", "2024/02/01 00:00:00  b"}));
}

TEST_F(HotListTest, PopupMenuOffersTheSelectionItems) {
    writeList(exeDir.file("HotDates.htl"), {{at(2024, 1, 1, 0, 0, 0), "a"}});
    THotListForm1* f = form();
    f->resize(300, 200);
    f->show();
    select(f, 0);
    desk.onPopupMenu([](QMenu& m) {
        QStringList texts;
        for (QAction* a : m.actions()) texts << a->text();
        EXPECT_EQ(texts, (QStringList{"&Choose Selection", "&Edit Selection...", "&Delete Selection",
                                      "&Undo Edit/Delete"}));
        EXPECT_FALSE(m.actions()[3]->isEnabled());
        m.actions()[0]->trigger();
    });
    f->ListBoxRightClick(f->ListBox1->visualItemRect(f->ListBox1->item(0)).center());
    ASSERT_TRUE(f->Chosen.has_value());
    EXPECT_EQ(f->Chosen->Comment, "a");
    // A double click chooses as well, and the window closes.
    f->Chosen.reset();
    f->show();
    emit f->ListBox1->itemDoubleClicked(f->ListBox1->item(0));
    ASSERT_TRUE(f->Chosen.has_value());
    EXPECT_FALSE(f->isVisible());
}

TEST_F(HotListTest, SearchFindsAPhraseAcrossTwoLinesAndReportsAMiss) {
    opts.EditMode = true;
    writeList(exeDir.file("HotDates.htl"), {{at(2024, 1, 1, 0, 0, 0), "Io shadow"},
                                            {at(2024, 2, 1, 0, 0, 0), "ends"}});
    THotListForm1* f = form();
    auto search = [this](const QString& text, bool fromTop) {
        desk.onDialog([text, fromTop](QDialog& d) {
            auto& s = dynamic_cast<TGetSrchStrDlg&>(d);
            EXPECT_EQ(s.windowTitle(), "Find Text String");
            s.SrchStr1->setText(text);
            (fromTop ? s.FromTopBtn : s.FromCursorBtn)->click();
        });
    };
    search("shadow 2024/02", true);
    f->Search1Click();
    EXPECT_EQ(f->ListBox1->currentRow(), 0);
    search("shadow 2024/02", false); // from the line after the selected one
    desk.answerMessage(MsgResult::Ok);
    f->Search1Click();
    EXPECT_EQ(desk.messages, (std::vector<Message>{msg("String Not Found",
                                                       "\"shadow 2024/02\" Not Found.",
                                                       MsgIcon::Information)}));
    search("ENDS", true);
    f->Search1Click();
    EXPECT_EQ(f->ListBox1->currentRow(), 1);
}

TEST_F(HotListTest, SaveListWritesTheChosenFileAndNamesItInTheOptions) {
    THotListForm1* f = form();
    f->Put({at(2024, 1, 1, 0, 0, 0), "x"});
    const std::string target = userDir.file("Mine.HTL");
    desk.answerSaveFile(QString());
    EXPECT_FALSE(f->SaveList1Click());
    EXPECT_TRUE(hotListUnsaved());
    desk.answerSaveFile(QString::fromStdString(target));
    desk.answerMessage(MsgResult::Ok);
    EXPECT_TRUE(f->SaveList1Click());
    ASSERT_EQ(desk.saveRequests.size(), 2u);
    EXPECT_EQ(desk.saveRequests[0].caption, "Save Hotlist File");
    EXPECT_EQ(desk.saveRequests[0].fileName, "HotDates.htl");
    EXPECT_EQ(desk.saveRequests[0].folder.toStdString(), userDir.path());
    EXPECT_EQ(readTestFile(target), encodeHotListEntry({at(2024, 1, 1, 0, 0, 0), "x"}));
    EXPECT_EQ(opts.HotListFile, "Mine.HTL");
    EXPECT_EQ(f->HotListPath, target);
    EXPECT_FALSE(hotListUnsaved());
    EXPECT_FALSE(f->SaveList1->isEnabled());
    EXPECT_EQ(desk.messages, (std::vector<Message>{msg("Hotlist File Saved", "Hotlist saved in " + target,
                                                       MsgIcon::Information)}));

    // The "Save Updated Hotlist" item of the date/time dialog saves the same way.
    TUTTimeDlg dlg(&opts, &login);
    f->Put({at(2025, 1, 1, 0, 0, 0), "y"});
    desk.answerSaveFile(QString::fromStdString(target));
    desk.answerMessage(MsgResult::Ok);
    dlg.SaveUpdatedHotlist1Click();
    EXPECT_EQ(readTestFile(target).size(), 128u);
    EXPECT_FALSE(dlg.SaveUpdatedHotlist1->isEnabled());
}

TEST_F(HotListTest, TheEndOfTheExerciseAsksOnlyForAnUnsavedHotlist) {
    EXPECT_FALSE(AskToSaveUpdatedHotlist()); // no hotlist window yet
    THotListForm1* f = form();
    EXPECT_FALSE(AskToSaveUpdatedHotlist()); // loaded, nothing changed
    f->Put({at(2024, 1, 1, 0, 0, 0), "x"});
    const Message ask = msg("Hotlist Updated!",
                            "You have not saved your updated hotlist.\n"
                            "You will loose your updates if you do not save them!\n\n"
                            "Do you want to save the hotlist now?",
                            MsgIcon::Stop, BtnYes | BtnNo);
    desk.answerMessage(MsgResult::No);
    EXPECT_TRUE(AskToSaveUpdatedHotlist());
    EXPECT_TRUE(desk.saveRequests.empty());
    desk.answerMessage(MsgResult::Yes);
    desk.answerSaveFile(QString::fromStdString(userDir.file("HotDates.htl")));
    desk.answerMessage(MsgResult::Ok);
    EXPECT_TRUE(AskToSaveUpdatedHotlist());
    EXPECT_FALSE(hotListUnsaved());
    ASSERT_EQ(desk.messages.size(), 3u);
    EXPECT_EQ(desk.messages[0], ask);
    EXPECT_EQ(desk.messages[1], ask);
    EXPECT_EQ(desk.messages[2].caption, "Hotlist File Saved");
}

TEST_F(HotListTest, SaveListOverAFileThatCannotBeReplacedKeepsItAndStaysUnsaved) {
    writeList(userDir.file("HotDates.htl"), {{at(2024, 1, 1, 0, 0, 0), "old"}});
    const std::string old = readTestFile(userDir.file("HotDates.htl"));
    THotListForm1* f = form();
    f->Put({at(2024, 1, 2, 0, 0, 0), "new"});
    WriteFaultScope fault(fileio::WriteStage::Finish, IODiskFull);
    desk.answerSaveFile(QString::fromStdString(userDir.file("HotDates.htl")));
    desk.answerMessage(MsgResult::Ok);
    EXPECT_FALSE(f->SaveList1Click());
    EXPECT_EQ(readTestFile(userDir.file("HotDates.htl")), old);
    EXPECT_TRUE(hotListUnsaved());
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0].caption, "Hotlist File Error!");
    EXPECT_EQ(desk.messages[0].text.rfind("Unable to save Date/Time list to file!\n\nFile Name: " +
                                              userDir.file("HotDates.htl") + "\n",
                                          0),
              0u);
}

TEST_F(HotListTest, PrintsHeaderCaptionAndLinesAndBeginsNewPages) {
    login.StudentName2 = "Charles Babbage";
    opts.TableNumber = "7";
    for (int i = 0; i < 10; ++i) form()->Put({at(2024, 1, 1 + i, 0, 0, 0), ""});
    RecordingPrinter recording;
    recording.width = 150;      // portrait: no left margin
    recording.height = 16 * 10; // ten lines a page
    RecordingPrinter* rec = &recording;
    desk.onPrint([rec](const PrintRequest&) { return surfaceRecordingInto(*rec); });
    form()->Print1Click();
    EXPECT_EQ(desk.printRequests[0].title, "ORVA Exercise - \"Quorvex\" - Ada Lovelace");
    EXPECT_TRUE(rec->ended);
    EXPECT_TRUE(form()->Print1->isChecked());
    ASSERT_GE(rec->items.size(), 14u);
    EXPECT_TRUE(rec->items[0].text.endsWith("     Laboratory Table Number 7"));
    auto item = [&](std::size_t i) { return std::make_tuple(rec->items[i].page, rec->items[i].x, rec->items[i].y, rec->items[i].text); };
    EXPECT_EQ(item(1), std::make_tuple(1, 0, 32, QString("Ada Lovelace")));
    EXPECT_EQ(item(2), std::make_tuple(1, 0, 48, QString("Charles Babbage")));
    EXPECT_EQ(item(3), std::make_tuple(1, 50, 80, QString("Select Date/Time for Observation")));
    EXPECT_EQ(item(4), std::make_tuple(1, 50, 112, QString("2024/01/01 00:00:00")));
    EXPECT_EQ(item(6), std::make_tuple(1, 50, 144, QString("2024/01/03 00:00:00")));
    EXPECT_EQ(item(7), std::make_tuple(2, 50, 16, QString("2024/01/04 00:00:00")));
    EXPECT_EQ(rec->pages, 2);

    // Edit Mode: no table or names; a cancelled printer dialog leaves the check as it was.
    opts.EditMode = true;
    opts.TableNumber.clear();
    desk.onPrint([](const PrintRequest&) { return std::unique_ptr<PrintSurface>(); });
    form()->Print1Click();
    EXPECT_EQ(desk.printRequests[1].title, "ORVA Exercise - \"Quorvex\" - Database Modification");
    EXPECT_TRUE(form()->Print1->isChecked());
}

TEST_F(HotListTest, PrintsARealPdf) {
    opts.EditMode = true;
    for (int i = 0; i < 120; ++i) form()->Put({at(2024, 1, 1, 0, i, 0), "Ganymede shadow"});
    const std::string pdf = userDir.file("hotlist.pdf");
    desk.onPrint([&pdf](const PrintRequest& r) { return makePdfSurface(QString::fromStdString(pdf), r); });
    form()->Print1Click();
    QProcess text;
    text.start("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(out.contains("Select Date/Time for Observation"));
    // The text extractor spaces a line as it sees fit.
    const QString words = out.simplified();
    EXPECT_TRUE(words.contains("2024/01/01 00:00:00 Ganymede shadow"));
    EXPECT_TRUE(words.contains("2024/01/01 01:59:00 Ganymede shadow"));
    EXPECT_GE(out.count(QChar('\f')), 2); // more than one page
}

} // namespace
