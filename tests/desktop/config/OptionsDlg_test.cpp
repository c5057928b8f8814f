// SPDX-License-Identifier: GPL-3.0-or-later
// The options dialog and the two password dialogs: every control against its
// field, the order of OK's steps, and every message word for word.
#include "common/FileIO.h"
#include "config/Options.h"
#include "config/OptionsDlg.h"
#include "config/Passwd.h"
#include "config/Pwcnfrm.h"
#include "support/ScriptedDesktop.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using R = OptionsRecord;

class OptionsDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        fileio::makeDirs(tmp.path() + "exe/");
        fileio::makeDirs(tmp.path() + "work/");
        desk.cdrom = "/media/cdrom/";
        opts = std::make_unique<OptsObj>(
            "JUP_OPTS.INI", "2.002", OptsObj::Folders{tmp.path() + "exe/", tmp.path() + "work/"});
    }
    void TearDown() override { EXPECT_TRUE(desk.allAnswersUsed()); }

    // Shows the dialog on opts with a script (and one for the dialog it opens);
    // returns whether it ended with OK.
    bool run(std::function<void(TOptionsDlg&)> script, ScriptedDesktop::DialogScript then = {}) {
        desk.onDialog([script](QDialog& d) { script(dynamic_cast<TOptionsDlg&>(d)); });
        if (then) desk.onDialog(then);
        return EditOptions(*opts);
    }
    std::string password() const {
        return DecodePassword(opts->Options.PasswordCode, opts->Options.PasswordLength);
    }

    ScriptedDesktop desk;
    TempDir tmp;
    std::unique_ptr<OptsObj> opts;
};

struct BoxCase {
    const char* name;
    const char* caption;
    const char* hint;
    bool R::*field;
    bool inverted;
};
const BoxCase kBoxes[] = {
    {"DemoBox", "Demonstration Mode", "In Demonstration Mode the login is not required.",
     &R::LoginRequired, true},
    {"TestBox", "Test Mode", "In Test Mode, Preferences are always enabled.", &R::TestMode, false},
    {"EditBox", "Edit Mode", "Enables Editing Functions", &R::EditMode, false},
    {"IDMoonBox", "Identify Moon", "Identify Moon", &R::IdentifyMoon, false},
    {"DistanceBox", "Show Distance", "Show Distance", &R::ShowDistance, false},
    {"AutoRBox", "Auto Data Recording",
     "If checked, measurments are automatically recorded on data form. ", &R::AutoRecord, false},
    {"CloudsBox", "Include Clouds", "Include Clouds", &R::IncludeClouds, false},
    {"RestartBox", "Allow Restart", "Allow Restart", &R::AllowRestart, false},
    {"AnimationBox", "Allow Animation", "Allow Animation", &R::AllowAnimation, false},
    {"TopViewBox", "Allow Top View", "Allow Top View", &R::AllowTopView, false},
    {"VisibilityBox", "Eclipse \"Visibility\" ",
     "Enable features to enhance eclipse \"visibility\".", &R::EclipseVisibility, false},
    {"MonoBox", "Monochrome Display", "Show analysis display in monochrome.", &R::Monochrome,
     false},
    {"ColorBox", "Print Color", "Print analysis display in color.", &R::PrintColor, false},
    {"LogBox", "Write Log File", "", &R::WriteLog, false},
    {"AdminBox", "\"Administrator\"", "", &R::Administrator, false},
};

struct TextCase {
    const char* name;
    const char* label;
    const char* group;
    std::string R::*field;
};
const TextCase kTexts[] = {
    {"ORVAURLEd", "ORVA Website", "&URLs", &R::WebAddress},
    {"LogoEd", "ORVA Logo:", "\"Splash\" &BMPs", &R::LogoFile},
    {"TitleEd", "Main Title:", "\"Splash\" &BMPs", &R::TitleFile},
    {"MnHlpEd", "Main Help List:", "&Help Files", &R::MainHelpList},
    {"AnalHlpEd", "Analysis Help List;", "&Help Files", &R::AnalHelpList},
    {"TopHlpEd", "Top View Help List:", "&Help Files", &R::TopViewHelpList},
    {"UsrHlpEd", "User Help File:", "&Help Files", &R::UserHelpFile},
    {"RmdrEd", "Reminder File:", "&Help Files", &R::ReminderFile},
    {"JupImgsEd", "Jupiter Images", "&Data Files && Lists", &R::ImagesFolder},
    {"OuterPlEd", "Outer Planet Table", "&Data Files && Lists", &R::OuterPlanetFile},
    {"LeapSecEd", "Leap Second Table", "&Data Files && Lists", &R::LeapSecondFile},
    {"HtLstEd", "Hotlist File", "&Data Files && Lists", &R::HotListFile},
    {"LogFlEd", "Log File (May Include Path)", "&Data Files && Lists", &R::LogFile},
    {"TblNumEd", "Lab Tbl #:", nullptr, &R::TableNumber},
};

struct NumberCase {
    const char* name;
    const char* label;
    const char* hint;
    const char* shownDefault; // the default record's value as shown
    const char* typed;
    void (*check)(const R&);
};
const NumberCase kNumbers[] = {
    {"CloudyEd", "Cloudy Nights (%)", "(0-100)", "10", "150",
     [](const R& r) { EXPECT_EQ(r.CloudyPercent, 150); }}, // no range enforced
    {"AnmStepEd", "Animation Step", "(Hours)", "0.10", "0.25",
     [](const R& r) { EXPECT_EQ(r.AnimationStep, 0.25L); }},
    {"ObsIntEd", "Observation Interval", "(Hours)", "24.00", " 12.5 ",
     [](const R& r) { EXPECT_EQ(r.ObsInterval, 12.5L); }},
    {"DispTmrEd", "Anim. Timer Interval", "(Milliseconds)", "10", "40",
     [](const R& r) { EXPECT_EQ(r.TimerInterval, 40); }},
    {"ZnEd", "Time Zone Difference", "UT minus Local (Zone) Time in Hours", "0.0", "-5",
     [](const R& r) { EXPECT_EQ(r.ZoneOffset, -5.0f); }},
    {"RSEd", "Red Spot Longitude", "System II Long. of Red Spot", "119.0", "1.5e2",
     [](const R& r) { EXPECT_EQ(r.RedSpotLongitude, 150.0f); }},
};

TEST_F(OptionsDlgTest, EveryControlShowsItsFieldAndStoresItBack) {
    // A pattern of switches, distinct texts, and the default numbers.
    for (std::size_t i = 0; i < std::size(kBoxes); ++i)
        opts->Options.*kBoxes[i].field = i % 2 == 0;
    for (const TextCase& t : kTexts)
        opts->Options.*t.field = std::string(t.name).substr(0, 4);
    const bool ok = run([](TOptionsDlg& d) {
        EXPECT_EQ(d.windowTitle(), "Software Options");
        EXPECT_EQ(d.PageControl1->tabText(0), "&General");
        EXPECT_EQ(d.PageControl1->tabText(1), "&Files");
        EXPECT_EQ(d.PageControl1->currentIndex(), 0);
        for (std::size_t i = 0; i < std::size(kBoxes); ++i) {
            SCOPED_TRACE(kBoxes[i].name);
            auto* box = d.findChild<QCheckBox*>(kBoxes[i].name);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), kBoxes[i].caption);
            EXPECT_EQ(box->toolTip(), kBoxes[i].hint);
            EXPECT_EQ(box->isChecked(), (i % 2 == 0) != kBoxes[i].inverted);
            box->setChecked(!box->isChecked());
        }
        for (const TextCase& t : kTexts) {
            SCOPED_TRACE(t.name);
            auto* edit = d.findChild<QLineEdit*>(t.name);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->text(), QString(t.name).left(4));
            ASSERT_NE(d.labelFor(edit), nullptr);
            EXPECT_EQ(d.labelFor(edit)->text(), t.label);
            if (t.group) {
                auto* group = qobject_cast<QGroupBox*>(edit->parentWidget());
                ASSERT_NE(group, nullptr);
                EXPECT_EQ(group->title(), t.group);
            }
            edit->setText(QString("new ") + t.name);
        }
        for (const NumberCase& n : kNumbers) {
            SCOPED_TRACE(n.name);
            auto* edit = d.findChild<QLineEdit*>(n.name);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->text(), n.shownDefault);
            EXPECT_EQ(edit->toolTip(), n.hint);
            EXPECT_EQ(d.labelFor(edit)->text(), n.label);
            EXPECT_EQ(qobject_cast<QGroupBox*>(edit->parentWidget())->title(), "&Parameters");
            edit->setText(n.typed);
        }
        EXPECT_EQ(d.OptionsGrp->title(), "Optio&ns");
        EXPECT_EQ(d.SpecialGrp->title(), "\"Special\"");
        EXPECT_EQ(d.labelFor(d.PWEd)->text(), "Password:");
        EXPECT_EQ(d.PWEd->text(), "KTRM");
        EXPECT_EQ(d.PWEd->toolTip(), "Alphanumeric, case sensitive, 16 characters max.");
        EXPECT_EQ(d.TblNumEd->toolTip(), "Alphanumeric, 4 characters max.");
        d.OKBtn->click();
    });
    EXPECT_TRUE(ok);
    for (std::size_t i = 0; i < std::size(kBoxes); ++i)
        EXPECT_EQ(opts->Options.*kBoxes[i].field, i % 2 != 0) << kBoxes[i].name;
    for (const TextCase& t : kTexts)
        EXPECT_EQ(opts->Options.*t.field,
                  (std::string("new ") + t.name).substr(0, t.field == &R::TableNumber ? 4 : 99));
    for (const NumberCase& n : kNumbers) {
        SCOPED_TRACE(n.name);
        n.check(opts->Options);
    }
}

TEST_F(OptionsDlgTest, TextsAreCutToTheirCapacityAndTheTableNumberTakesFourCharacters) {
    run([](TOptionsDlg& d) {
        d.ORVAURLEd->setText(QString(300, 'u'));
        d.LogoEd->setText(QString(80, 'l'));
        d.TblNumEd->clear();
        QTest::keyClicks(d.TblNumEd, "12345");
        EXPECT_EQ(d.TblNumEd->text(), "1234");
        EXPECT_EQ(d.PWEd->maxLength(), 16);
        d.OKBtn->click();
    });
    EXPECT_EQ(opts->Options.WebAddress, std::string(255, 'u'));
    EXPECT_EQ(opts->Options.LogoFile, std::string(71, 'l'));
    EXPECT_EQ(opts->Options.TableNumber, "1234");
}

TEST_F(OptionsDlgTest, TheFirstNonNumberStopsOkAndCancelThenRestoresEverything) {
    const OptionsRecord before = opts->Options;
    const Message nonNumeric{"Non-Numeric Value!",
                             "Numeric Conversion Error!\n\nVerify Values of Numeric Parameters.",
                             MsgIcon::Error, BtnOk};
    // Each text that is not a number the field can hold, in ObsIntEd (third
    // to convert), DispTmrEd (16 bits) or RSEd (a 32-bit real).
    const std::pair<const char*, const char*> bad[] = {{"ObsIntEd", "12,5"}, {"ObsIntEd", "nan"},
                                                       {"ObsIntEd", ""},     {"DispTmrEd", "70000"},
                                                       {"DispTmrEd", "-1"},  {"RSEd", "1e39"}};
    for (const auto& [name, text] : bad) {
        SCOPED_TRACE(std::string(name) + " " + text);
        desk.messages.clear();
        desk.answerMessage(MsgResult::Ok);
        const bool ok = run([&, name = name, text = text](TOptionsDlg& d) {
            d.EditBox->setChecked(true);
            d.CloudyEd->setText("55");
            d.AnmStepEd->setText("0.5");
            d.PWEd->setText("changed"); // the password step is skipped
            d.findChild<QLineEdit*>(name)->setText(text);
            d.OKBtn->click();
            EXPECT_TRUE(d.isVisible());
            // Switches, texts and the numbers before the bad one are stored.
            EXPECT_TRUE(opts->Options.EditMode);
            EXPECT_EQ(opts->Options.CloudyPercent, 55);
            EXPECT_EQ(opts->Options.AnimationStep, 0.5L);
            EXPECT_EQ(opts->Options.ObsInterval, 24.0L);
            EXPECT_EQ(opts->Options.ZoneOffset, 0.0f);
            d.CancelBtn->click();
        });
        EXPECT_FALSE(ok);
        ASSERT_EQ(desk.messages.size(), 1u);
        EXPECT_EQ(desk.messages[0], nonNumeric);
        EXPECT_EQ(opts->Options, before);
        EXPECT_EQ(desk.dialogTitles.back(), "Software Options");
    }
}

TEST_F(OptionsDlgTest, APasswordChangeTakesEffectOnlyWhenConfirmed) {
    // Confirmed: a new password, and a reminder to save.
    desk.answerMessage(MsgResult::Ok);
    EXPECT_TRUE(run(
        [](TOptionsDlg& d) {
            d.PWEd->setText("Secret1");
            d.OKBtn->click();
        },
        [](QDialog& d) {
            auto& c = dynamic_cast<TPasswordDlg1&>(d);
            EXPECT_EQ(c.windowTitle(), "Confirm Password Change");
            EXPECT_EQ(c.Label1->text(), "Re-enter new password:");
            EXPECT_EQ(c.Password->echoMode(), QLineEdit::Password);
            EXPECT_EQ(c.Password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter), '#');
            c.Password->setText("Secret1");
            c.OKBtn->click();
        }));
    EXPECT_EQ(password(), "Secret1");
    EXPECT_EQ(desk.messages.back(),
              (Message{"Password Confirmed",
                       "Password Change is Confirmed.\n\nYou Must Save JUP_OPTS.INI To "
                       "Complete the Change.",
                       MsgIcon::Information, BtnOk}));

    // Typed differently (case counts) or cancelled: the old one stays, and the
    // dialog still closes with OK.
    const Message notChanged{"Password Not Changed!",
                             "Password Change Not Confirmed!\n\nCurrent Password Will Be Retained.",
                             MsgIcon::Error, BtnOk};
    for (bool cancel : {false, true}) {
        desk.answerMessage(MsgResult::Ok);
        EXPECT_TRUE(run(
            [](TOptionsDlg& d) {
                d.PWEd->setText("OTHER");
                d.OKBtn->click();
            },
            [cancel](QDialog& d) {
                auto& c = dynamic_cast<TPasswordDlg1&>(d);
                c.Password->setText("other");
                (cancel ? c.CancelBtn : c.OKBtn)->click();
            }));
        EXPECT_EQ(password(), "Secret1");
        EXPECT_EQ(desk.messages.back(), notChanged);
    }

    // The same password again asks nothing.
    const std::size_t messages = desk.messages.size();
    EXPECT_TRUE(run([](TOptionsDlg& d) { d.OKBtn->click(); }));
    EXPECT_EQ(desk.messages.size(), messages);
}

TEST_F(OptionsDlgTest, APasswordTheFileCannotHoldIsRefusedAsTyped) {
    desk.answerMessage(MsgResult::Ok); // refused
    desk.answerMessage(MsgResult::Ok); // "Password Confirmed"
    run([](TOptionsDlg& d) {
        d.PWEd->setText(QString::fromUtf8("Kr\u00E4ft\u03A9"));
        d.OKBtn->click();
        EXPECT_TRUE(d.isVisible());
        d.PWEd->setText(QString::fromUtf8("Kr\u00E4ft")); // Windows-1252 has the umlaut
        d.OKBtn->click();
    }, [](QDialog& d) {
        auto& c = dynamic_cast<TPasswordDlg1&>(d);
        c.Password->setText(QString::fromUtf8("Kr\u00E4ft"));
        c.OKBtn->click();
    });
    EXPECT_EQ(desk.messages[0].caption, "Password Not Changed!");
    EXPECT_EQ(desk.messages[0].text, "The password contains characters that cannot be stored.\n\n"
                                     "Use letters, digits and the usual signs of Western European "
                                     "languages.");
    EXPECT_EQ(password(), "Kr\u00E4ft");
}

// Values that would trap the clock, names the file cannot hold and names
// with a folder where only a bare name is looked for: refused with a message,
// the dialog open on that field and nothing of the record changed.
TEST_F(OptionsDlgTest, OutOfRangeValuesAndNamesTheFileCannotServeAreRefused) {
    const OptionsRecord before = opts->Options;
    struct Case {
        const char* name;
        const char* typed;
        const char* caption;
        const char* text;
    };
    const Case cases[] = {
        {"ZnEd", "1e30", "Value Out of Range!",
         "Time Zone Difference must be from -14.0 to 14.0 hours."},
        {"ZnEd", "-14.5", "Value Out of Range!",
         "Time Zone Difference must be from -14.0 to 14.0 hours."},
        {"ObsIntEd", "0", "Value Out of Range!",
         "Observation Interval must be from 0.01 to 87660.00 hours."},
        {"AnmStepEd", "87661", "Value Out of Range!",
         "Animation Step must be from 0.01 to 87660.00 hours."},
        {"DispTmrEd", "0", "Value Out of Range!",
         "Anim. Timer Interval must be from 1 to 65535 milliseconds."},
        {"LogFlEd", "/home/\u0418\u0440\u0430/log.txt", "Invalid Name!",
         "Log File (May Include Path) contains characters that cannot be stored."},
        {"JupImgsEd", "\u0420\u0438\u0441", "Invalid Name!",
         "Jupiter Images contains characters that cannot be stored."},
        {"HtLstEd", "../HotDates.htl", "Invalid Name!",
         "Hotlist File must be a file name without a folder."},
        {"MnHlpEd", "..", "Invalid Name!", "Main Help List must be a file name without a folder."},
        {"LeapSecEd", "a\\b.txt", "Invalid Name!",
         "Leap Second Table must be a file name without a folder."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.typed);
        desk.messages.clear();
        desk.answerMessage(MsgResult::Ok);
        EXPECT_FALSE(run([&c](TOptionsDlg& d) {
            QLineEdit* edit = d.findChild<QLineEdit*>(c.name);
            edit->setText(QString::fromUtf8(c.typed));
            d.OKBtn->click();
            EXPECT_TRUE(d.isVisible());
            EXPECT_TRUE(d.PageControl1->currentWidget()->isAncestorOf(edit));
            EXPECT_EQ(d.focusWidget(), edit);
            d.CancelBtn->click();
        }));
        ASSERT_EQ(desk.messages.size(), 1u);
        EXPECT_EQ(desk.messages[0].caption, c.caption);
        EXPECT_TRUE(desk.messages[0].text.starts_with(c.text)) << desk.messages[0].text;
        EXPECT_EQ(opts->Options, before);
    }
    // The log file and the pictures folder may name a folder.
    desk.messages.clear();
    EXPECT_TRUE(run([](TOptionsDlg& d) {
        d.LogFlEd->setText("/srv/lab/ORVALog.log");
        d.JupImgsEd->setText("../Rotation BMPs");
        d.OKBtn->click();
    }));
    EXPECT_TRUE(desk.messages.empty());
    EXPECT_EQ(opts->Options.LogFile, "/srv/lab/ORVALog.log");
}

TEST_F(OptionsDlgTest, AnEmptyPasswordConfirmedIsTheOnlyOneAcceptedAfterwards) {
    desk.answerMessage(MsgResult::Ok);
    run(
        [](TOptionsDlg& d) {
            d.PWEd->clear();
            d.OKBtn->click();
        },
        [](QDialog& d) { dynamic_cast<TPasswordDlg1&>(d).OKBtn->click(); });
    EXPECT_EQ(opts->Options.PasswordLength, 0);
    EXPECT_EQ(password(), "");

    desk.onDialog([](QDialog& d) {
        auto& p = dynamic_cast<TPasswordDlg&>(d);
        p.Password->setText(" ");
        p.OKBtn->click();
    });
    desk.onDialog([](QDialog& d) { dynamic_cast<TPasswordDlg&>(d).OKBtn->click(); });
    EXPECT_EQ(AskInstructorPassword(password()), PasswordOk);
}

TEST_F(OptionsDlgTest, CheckingAdministratorAsksAboutAMultiUserEnvironment) {
    const Message question{"Multi-User Environment?",
                           "Are you the administrator of this program in a multi-user "
                           "environment?\n(Do NOT check this box if you are the ONLY user.)",
                           MsgIcon::Question, BtnYes | BtnNo};
    desk.answerMessage(MsgResult::No);
    desk.answerMessage(MsgResult::Yes);
    desk.answerMessage(MsgResult::Yes);
    run([&](TOptionsDlg& d) {
        d.AdminBox->click();
        EXPECT_FALSE(d.AdminBox->isChecked());
        d.AdminBox->click();
        EXPECT_TRUE(d.AdminBox->isChecked());
        d.AdminBox->click(); // unchecking asks nothing
        d.AdminBox->click();
        d.OKBtn->click();
    });
    EXPECT_TRUE(opts->Options.Administrator);
    EXPECT_EQ(desk.messages.size(), 3u);
    for (const Message& m : desk.messages)
        EXPECT_EQ(m, question);
}

TEST_F(OptionsDlgTest, WithoutAnOptionsObjectTheDialogRefusesToWork) {
    TOptionsDlg dlg;
    desk.answerMessage(MsgResult::Ok);
    desk.onDialog([](QDialog& d) { dynamic_cast<TOptionsDlg&>(d).OKBtn->click(); });
    EXPECT_EQ(desk.execDialog(dlg), QDialog::Accepted);
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0],
              (Message{"Cannot Modify Options!", "No Options Assigned!", MsgIcon::Warning, BtnOk}));
}

TEST(PasswordDlg, ThreeTriesWithCaseCountingThenAccessIsDenied) {
    ScriptedDesktop desk;
    auto answer = [&](const char* typed, bool cancel = false) {
        desk.onDialog([typed, cancel](QDialog& d) {
            auto& p = dynamic_cast<TPasswordDlg&>(d);
            EXPECT_EQ(p.windowTitle(), "Password Required");
            EXPECT_EQ(p.Label1->text(), "Enter password:");
            EXPECT_TRUE(p.Password->text().isEmpty()); // emptied for every try
            EXPECT_EQ(p.Password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter), '*');
            p.Password->setText(typed);
            (cancel ? p.CancelBtn : p.OKBtn)->click();
        });
    };
    // Two wrong (one in another case), then right.
    answer("ktrm");
    answer("KTR");
    answer("KTRM");
    EXPECT_EQ(AskInstructorPassword("KTRM"), PasswordOk);
    EXPECT_TRUE(desk.messages.empty());

    // Three wrong: denied.
    for (int i = 0; i < 3; ++i)
        answer("x");
    desk.answerMessage(MsgResult::Ok);
    EXPECT_EQ(AskInstructorPassword("KTRM"), PasswordCancel);
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0], (Message{"Options Access Denied!", "Too Many Invalid Passwords!",
                                         MsgIcon::Error, BtnOk}));

    // Cancel, even with the right text, ends at once.
    answer("KTRM", true);
    EXPECT_EQ(AskInstructorPassword("KTRM"), PasswordCancel);

    // The dialog's own results and count; the expected text is cut to 16.
    TPasswordDlg dlg;
    dlg.Init("ABCDEFGHIJKLMNOPQ");
    for (const char* typed : {"ABCDEFGHIJKLMNOPQ", "ABCDEFGHIJKLMNOP"}) {
        desk.onDialog([typed](QDialog& d) {
            auto& p = dynamic_cast<TPasswordDlg&>(d);
            p.Password->setMaxLength(32);
            p.Password->setText(typed);
            p.OKBtn->click();
        });
    }
    EXPECT_EQ(desk.execDialog(dlg), PasswordNo);
    EXPECT_EQ(desk.execDialog(dlg), PasswordOk);
    EXPECT_EQ(dlg.Attempts(), 2);
    EXPECT_TRUE(desk.allAnswersUsed());
}

} // namespace
