// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/OptionsDlg.h"

#include "common/BareName.h"
#include "common/Codecs.h"
#include "config/Options.h"
#include "config/Pwcnfrm.h"
#include "ephemeris/StringUt.h"
#include "platform/Desktop.h"
#include "widgets/DialogUtil.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <variant>

// A check box and the field it edits; inverted boxes store the negation.
struct TOptionsDlg::BoxField {
    QCheckBox* box;
    bool OptionsRecord::*field;
    bool inverted;
};

// A text edit and the field it edits, cut to the field's capacity.
struct TOptionsDlg::TextField {
    QLineEdit* edit;
    std::string OptionsRecord::*field;
    std::size_t capacity;
};

// A numeric edit, its field and how it is shown (decimals < 0: an integer).
struct TOptionsDlg::NumberField {
    QLineEdit* edit;
    std::variant<int32_t OptionsRecord::*, uint16_t OptionsRecord::*, long double OptionsRecord::*,
                 float OptionsRecord::*>
        field;
    int decimals;
    const char* label;
    const OptionRange* range; // nullptr: any value the field holds
    const char* unit;
};

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// Shows a number in its field's format.
QString numberText(const OptionsRecord& r, const auto& field, int decimals) {
    return std::visit(
        [&](auto member) -> QString {
            const auto v = r.*member;
            if (decimals < 0) return QString::number(static_cast<long long>(v));
            return q(FixedText(static_cast<long double>(v), decimals));
        },
        field);
}

enum class NumberReading { Stored, NotANumber, OutOfRange };

// Converts a typed text into its field when it lies in range (any range:
// nothing checked); otherwise nothing is stored.
NumberReading storeNumber(OptionsRecord& r, const auto& field, const QString& text,
                          const OptionRange* range) {
    const std::string s = text.toStdString();
    return std::visit(
        [&](auto member) -> NumberReading {
            using T = std::remove_reference_t<decltype(r.*member)>;
            long double value = 0;
            if constexpr (std::is_integral_v<T>) {
                long long v = 0;
                if (!ParseInteger(s, v) || v < std::numeric_limits<T>::min() ||
                    v > std::numeric_limits<T>::max())
                    return NumberReading::NotANumber;
                value = static_cast<long double>(v);
            } else {
                if (!ParseDecimal(s, value) || !std::isfinite(value) ||
                    std::fabs(value) > std::numeric_limits<T>::max())
                    return NumberReading::NotANumber;
            }
            if (range && !range->holds(value)) return NumberReading::OutOfRange;
            r.*member = static_cast<T>(value);
            return NumberReading::Stored;
        },
        field);
}

QString decodedPassword(const OptionsRecord& r) {
    return q(DecodePassword(r.PasswordCode, r.PasswordLength));
}

} // namespace

TOptionsDlg::TOptionsDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName("TOptionsDlg");
    setWindowTitle(QStringLiteral("Software Options"));
    setWindowIcon(programIcon());

    PageControl1 = new QTabWidget(this);
    GeneralTab = new QWidget;
    FilesTab = new QWidget;
    PageControl1->addTab(GeneralTab, QStringLiteral("&General"));
    PageControl1->addTab(FilesTab, QStringLiteral("&Files"));

    // --- "General": the switches, the parameters and the administrator box.
    OptionsGrp = new QGroupBox(QStringLiteral("Optio&ns"), GeneralTab);
    auto* optionsLayout = new QGridLayout(OptionsGrp);
    struct BoxSpec {
        QCheckBox** box;
        const char* name;
        const char* caption;
        bool OptionsRecord::*field;
        bool inverted;
        const char* hint;
    };
    const BoxSpec boxSpecs[] = {
        {&DemoBox, "DemoBox", "Demonstration Mode", &OptionsRecord::LoginRequired, true,
         "In Demonstration Mode the login is not required."},
        {&TestBox, "TestBox", "Test Mode", &OptionsRecord::TestMode, false,
         "In Test Mode, Preferences are always enabled."},
        {&EditBox, "EditBox", "Edit Mode", &OptionsRecord::EditMode, false,
         "Enables Editing Functions"},
        {&IDMoonBox, "IDMoonBox", "Identify Moon", &OptionsRecord::IdentifyMoon, false,
         "Identify Moon"},
        {&DistanceBox, "DistanceBox", "Show Distance", &OptionsRecord::ShowDistance, false,
         "Show Distance"},
        {&AutoRBox, "AutoRBox", "Auto Data Recording", &OptionsRecord::AutoRecord, false,
         "If checked, measurments are automatically recorded on data form. "},
        {&CloudsBox, "CloudsBox", "Include Clouds", &OptionsRecord::IncludeClouds, false,
         "Include Clouds"},
        {&RestartBox, "RestartBox", "Allow Restart", &OptionsRecord::AllowRestart, false,
         "Allow Restart"},
        {&AnimationBox, "AnimationBox", "Allow Animation", &OptionsRecord::AllowAnimation, false,
         "Allow Animation"},
        {&TopViewBox, "TopViewBox", "Allow Top View", &OptionsRecord::AllowTopView, false,
         "Allow Top View"},
        {&VisibilityBox, "VisibilityBox", "Eclipse \"Visibility\" ",
         &OptionsRecord::EclipseVisibility, false,
         "Enable features to enhance eclipse \"visibility\"."},
        {&MonoBox, "MonoBox", "Monochrome Display", &OptionsRecord::Monochrome, false,
         "Show analysis display in monochrome."},
        {&ColorBox, "ColorBox", "Print Color", &OptionsRecord::PrintColor, false,
         "Print analysis display in color."},
        {&LogBox, "LogBox", "Write Log File", &OptionsRecord::WriteLog, false, nullptr},
    };
    int row = 0;
    for (const BoxSpec& b : boxSpecs) {
        auto* box = new QCheckBox(QString::fromUtf8(b.caption), OptionsGrp);
        box->setObjectName(b.name);
        if (b.hint) box->setToolTip(QString::fromUtf8(b.hint));
        optionsLayout->addWidget(box, row++, 0);
        *b.box = box;
        boxes_.push_back({box, b.field, b.inverted});
    }
    optionsLayout->setRowStretch(row, 1);
    optionsLayout->setVerticalSpacing(8);

    ParametersGrp = new QGroupBox(QStringLiteral("&Parameters"), GeneralTab);
    auto* parametersLayout = new QFormLayout(ParametersGrp);
    parametersLayout->setLabelAlignment(Qt::AlignRight);
    struct NumberSpec {
        QLineEdit** edit;
        const char* name;
        const char* label;
        const char* hint;
        decltype(NumberField::field) field;
        int decimals;
        const OptionRange* range;
        const char* unit;
    };
    // In the order of the group; numbers are converted in another order.
    const NumberSpec numberSpecs[] = {
        {&CloudyEd, "CloudyEd", "Cloudy Nights (%)", "(0-100)", &OptionsRecord::CloudyPercent, -1,
         nullptr, ""},
        {&AnmStepEd, "AnmStepEd", "Animation Step", "(Hours)", &OptionsRecord::AnimationStep, 2,
         &IntervalRange, "hours"},
        {&ObsIntEd, "ObsIntEd", "Observation Interval", "(Hours)", &OptionsRecord::ObsInterval, 2,
         &IntervalRange, "hours"},
        {&DispTmrEd, "DispTmrEd", "Anim. Timer Interval", "(Milliseconds)",
         &OptionsRecord::TimerInterval, -1, &TimerIntervalRange, "milliseconds"},
        {&ZnEd, "ZnEd", "Time Zone Difference", "UT minus Local (Zone) Time in Hours",
         &OptionsRecord::ZoneOffset, 1, &ZoneOffsetRange, "hours"},
        {&RSEd, "RSEd", "Red Spot Longitude", "System II Long. of Red Spot",
         &OptionsRecord::RedSpotLongitude, 1, nullptr, ""},
    };
    for (const NumberSpec& n : numberSpecs) {
        auto* edit = new QLineEdit(ParametersGrp);
        edit->setObjectName(n.name);
        edit->setToolTip(QString::fromUtf8(n.hint));
        edit->setMaximumWidth(90);
        auto* label = new QLabel(QString::fromUtf8(n.label), ParametersGrp);
        label->setToolTip(edit->toolTip());
        label->setBuddy(edit);
        parametersLayout->addRow(label, edit);
        *n.edit = edit;
    }
    for (QLineEdit* e : {CloudyEd, AnmStepEd, ObsIntEd, DispTmrEd, RSEd, ZnEd}) {
        for (const NumberSpec& n : numberSpecs)
            if (*n.edit == e)
                numbers_.push_back({e, n.field, n.decimals, n.label, n.range, n.unit});
    }

    SpecialGrp = new QGroupBox(QStringLiteral("\"Special\""), GeneralTab);
    auto* specialLayout = new QVBoxLayout(SpecialGrp);
    AdminBox = new QCheckBox(QStringLiteral("\"Administrator\""), SpecialGrp);
    AdminBox->setObjectName("AdminBox");
    specialLayout->addWidget(AdminBox);
    boxes_.push_back({AdminBox, &OptionsRecord::Administrator, false});
    connect(AdminBox, &QCheckBox::clicked, this, &TOptionsDlg::AdminBoxClick);

    auto* generalRight = new QVBoxLayout;
    generalRight->addWidget(ParametersGrp);
    generalRight->addWidget(SpecialGrp);
    generalRight->addStretch();
    auto* generalLayout = new QHBoxLayout(GeneralTab);
    generalLayout->addWidget(OptionsGrp, 1);
    generalLayout->addLayout(generalRight, 1);

    // --- "Files": web address, pictures, help files, data files and lists.
    struct FilesTabText {
        QLineEdit** edit;
        const char* name;
        const char* label;
        std::string OptionsRecord::*field;
        std::size_t capacity;
    };
    auto textGroup = [&](const QString& title, std::initializer_list<FilesTabText> fields) {
        auto* group = new QGroupBox(title, FilesTab);
        auto* form = new QFormLayout(group);
        form->setLabelAlignment(Qt::AlignRight);
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        for (const FilesTabText& t : fields) {
            auto* edit = new QLineEdit(group);
            edit->setObjectName(t.name);
            edit->setMinimumWidth(380);
            auto* label = new QLabel(QString::fromUtf8(t.label), group);
            label->setBuddy(edit);
            form->addRow(label, edit);
            *t.edit = edit;
            texts_.push_back({edit, t.field, t.capacity});
        }
        return group;
    };
    using R = OptionsRecord;
    URLsGrp = textGroup(QStringLiteral("&URLs"),
                        {{&ORVAURLEd, "ORVAURLEd", "ORVA Website", &R::WebAddress, kS255}});
    SplashGrp = textGroup(QStringLiteral("\"Splash\" &BMPs"),
                          {{&LogoEd, "LogoEd", "ORVA Logo:", &R::LogoFile, kS71},
                           {&TitleEd, "TitleEd", "Main Title:", &R::TitleFile, kS71}});
    HelpFilesGrp =
        textGroup(QStringLiteral("&Help Files"),
                  {{&MnHlpEd, "MnHlpEd", "Main Help List:", &R::MainHelpList, kS71},
                   {&AnalHlpEd, "AnalHlpEd", "Analysis Help List;", &R::AnalHelpList, kS71},
                   {&TopHlpEd, "TopHlpEd", "Top View Help List:", &R::TopViewHelpList, kS71},
                   {&UsrHlpEd, "UsrHlpEd", "User Help File:", &R::UserHelpFile, kS71},
                   {&RmdrEd, "RmdrEd", "Reminder File:", &R::ReminderFile, kS71}});
    DataFilesGrp =
        textGroup(QStringLiteral("&Data Files && Lists"),
                  {{&JupImgsEd, "JupImgsEd", "Jupiter Images", &R::ImagesFolder, kS255},
                   {&OuterPlEd, "OuterPlEd", "Outer Planet Table", &R::OuterPlanetFile, kS71},
                   {&LeapSecEd, "LeapSecEd", "Leap Second Table", &R::LeapSecondFile, kS71},
                   {&HtLstEd, "HtLstEd", "Hotlist File", &R::HotListFile, kS71},
                   {&LogFlEd, "LogFlEd", "Log File (May Include Path)", &R::LogFile, kS255}});
    // One label column across the four groups.
    int labelWidth = 0;
    for (const TextField& t : texts_)
        labelWidth = std::max(labelWidth, labelFor(t.edit)->sizeHint().width());
    for (const TextField& t : texts_) {
        labelFor(t.edit)->setMinimumWidth(labelWidth);
        labelFor(t.edit)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    auto* filesLayout = new QVBoxLayout(FilesTab);
    for (QGroupBox* g : {URLsGrp, SplashGrp, HelpFilesGrp, DataFilesGrp})
        filesLayout->addWidget(g);
    filesLayout->addStretch();

    // --- Below the tabs: table number, password, OK and Cancel.
    TblNumEd = new QLineEdit(this);
    TblNumEd->setObjectName("TblNumEd");
    TblNumEd->setMaxLength(int(kS4));
    TblNumEd->setMaximumWidth(60);
    TblNumEd->setToolTip(QStringLiteral("Alphanumeric, 4 characters max."));
    texts_.push_back({TblNumEd, &R::TableNumber, kS4});
    PWEd = new QLineEdit(this);
    PWEd->setObjectName("PWEd");
    PWEd->setMaxLength(16);
    PWEd->setMinimumWidth(160);
    PWEd->setToolTip(QStringLiteral("Alphanumeric, case sensitive, 16 characters max."));
    setMaskCharacter(PWEd, QLatin1Char('#'));
    auto* tblLbl = new QLabel(QStringLiteral("Lab Tbl #:"), this);
    tblLbl->setBuddy(TblNumEd);
    tblLbl->setToolTip(TblNumEd->toolTip());
    auto* pwLbl = new QLabel(QStringLiteral("Password:"), this);
    pwLbl->setBuddy(PWEd);
    pwLbl->setToolTip(PWEd->toolTip());
    QDialogButtonBox* buttons = okCancelButtons(this, OKBtn, CancelBtn);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(tblLbl);
    bottom->addWidget(TblNumEd);
    bottom->addSpacing(16);
    bottom->addWidget(pwLbl);
    bottom->addWidget(PWEd);
    bottom->addStretch();
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(bottom);

    connect(OKBtn, &QPushButton::clicked, this, &TOptionsDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TOptionsDlg::CancelBtnClick);
    PageControl1->setCurrentIndex(0);
}

TOptionsDlg::~TOptionsDlg() = default;

QLabel* TOptionsDlg::labelFor(QLineEdit* edit) const {
    for (QLabel* l : findChildren<QLabel*>())
        if (l->buddy() == edit) return l;
    return nullptr;
}

void TOptionsDlg::showEvent(QShowEvent* event) {
    FormActivate();
    adjustSize();
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TOptionsDlg::FormActivate() {
    haveSnapshot_ = false;
    if (Opts == nullptr) {
        showMessage(QStringLiteral("Cannot Modify Options!"),
                    QStringLiteral("No Options Assigned!"), MsgIcon::Warning);
        return;
    }
    const OptionsRecord& r = Opts->Options;
    snapshot_ = r;
    haveSnapshot_ = true;
    for (const BoxField& b : boxes_)
        b.box->setChecked(b.inverted ? !(r.*b.field) : r.*b.field);
    for (const TextField& t : texts_) {
        t.edit->setText(q(r.*t.field));
        t.edit->setCursorPosition(0); // long paths show their start
    }
    for (const NumberField& n : numbers_)
        n.edit->setText(numberText(r, n.field, n.decimals));
    PWEd->setText(decodedPassword(r));
}

void TOptionsDlg::storeBoxesAndTexts(OptionsRecord& r) {
    for (const BoxField& b : boxes_)
        r.*b.field = b.inverted ? !b.box->isChecked() : b.box->isChecked();
    for (const TextField& t : texts_)
        r.*t.field = codec::utf8Left(t.edit->text().toStdString(), t.capacity);
}

void TOptionsDlg::refuse(QLineEdit* edit, const QString& caption, const QString& text) {
    showMessage(caption, text, MsgIcon::Error);
    if (FilesTab->isAncestorOf(edit)) PageControl1->setCurrentWidget(FilesTab);
    if (GeneralTab->isAncestorOf(edit)) PageControl1->setCurrentWidget(GeneralTab);
    edit->setFocus();
    edit->selectAll();
}

bool TOptionsDlg::textsStorable() {
    const auto& bare = bareNameFields();
    for (const TextField& t : texts_) {
        QString label = labelFor(t.edit)->text();
        while (label.endsWith(u':') || label.endsWith(u';'))
            label.chop(1);
        // The file keeps texts in Windows-1252: another character would come
        // back as "?" at the next start, naming a file that is not there.
        std::string stored;
        if (!codec::utf8ToCp1252(t.edit->text().toStdString(), stored)) {
            refuse(t.edit, QStringLiteral("Invalid Name!"),
                   label + QStringLiteral(" contains characters that cannot be stored.\n\n"
                                          "Use letters, digits and the usual signs of Western "
                                          "European languages."));
            return false;
        }
        if (std::find(bare.begin(), bare.end(), t.field) != bare.end() &&
            !isBareFileName(t.edit->text().toStdString())) {
            refuse(t.edit, QStringLiteral("Invalid Name!"),
                   label + QStringLiteral(" must be a file name without a folder.\n\n"
                                          "The file is looked for in the program's folders."));
            return false;
        }
    }
    return true;
}

bool TOptionsDlg::storeNumbers(OptionsRecord& r) {
    for (const NumberField& n : numbers_) {
        const NumberReading reading = storeNumber(r, n.field, n.edit->text(), n.range);
        if (reading == NumberReading::NotANumber) {
            refuse(n.edit, QStringLiteral("Non-Numeric Value!"),
                   QStringLiteral("Numeric Conversion Error!\n\n"
                                  "Verify Values of Numeric Parameters."));
            return false;
        }
        if (reading == NumberReading::OutOfRange) {
            refuse(n.edit, QStringLiteral("Value Out of Range!"),
                   QString::fromUtf8(n.label) + QStringLiteral(" must be ") +
                       q(rangeText(*n.range, std::max(n.decimals, 0), n.unit)) +
                       QStringLiteral(".\n\nVerify Values of Numeric Parameters."));
            return false;
        }
    }
    return true;
}

void TOptionsDlg::storePassword(OptionsRecord& r) {
    const QString typed = PWEd->text();
    if (typed == decodedPassword(r)) return;
    TPasswordDlg1 confirm(this);
    confirm.NewPassword = typed;
    desktop().execDialog(confirm);
    if (confirm.Confirmed) {
        EncodePassword(typed.toStdString(), r.PasswordCode, r.PasswordLength);
        showMessage(QStringLiteral("Password Confirmed"),
                    QStringLiteral("Password Change is Confirmed.\n\nYou Must Save ") +
                        q(r.OptsFileName) + QStringLiteral(" To Complete the Change."),
                    MsgIcon::Information);
    } else {
        showMessage(QStringLiteral("Password Not Changed!"),
                    QStringLiteral("Password Change Not Confirmed!\n\n"
                                   "Current Password Will Be Retained."),
                    MsgIcon::Error);
    }
    confirm.NewPassword.clear();
}

void TOptionsDlg::OKBtnClick() {
    if (Opts == nullptr) {
        accept(); // nothing to change
        return;
    }
    OptionsRecord& r = Opts->Options;
    if (!textsStorable()) return;
    storeBoxesAndTexts(r);
    if (!storeNumbers(r)) return;
    // The options file keeps the password in Windows-1252: a character it
    // cannot hold would be lost, so such a password is refused as typed.
    std::string stored;
    if (!codec::utf8ToCp1252(PWEd->text().toStdString(), stored)) {
        showMessage(QStringLiteral("Password Not Changed!"),
                    QStringLiteral("The password contains characters that cannot be stored.\n\n"
                                   "Use letters, digits and the usual signs of Western European "
                                   "languages."),
                    MsgIcon::Error);
        PWEd->setFocus();
        PWEd->selectAll();
        return;
    }
    storePassword(r);
    accept();
}

void TOptionsDlg::CancelBtnClick() {
    reject();
}

void TOptionsDlg::reject() {
    if (Opts != nullptr && haveSnapshot_) Opts->Options = snapshot_;
    QDialog::reject();
}

void TOptionsDlg::AdminBoxClick(bool checked) {
    if (!checked) return;
    if (showMessage(QStringLiteral("Multi-User Environment?"),
                    QStringLiteral("Are you the administrator of this program in a multi-user "
                                   "environment?\n(Do NOT check this box if you are the ONLY "
                                   "user.)"),
                    MsgIcon::Question, BtnYes | BtnNo) == MsgResult::No)
        AdminBox->setChecked(false);
}

bool EditOptions(OptsObj& opts, QWidget* parent) {
    TOptionsDlg dlg(parent);
    dlg.Opts = &opts;
    const bool ok = desktop().execDialog(dlg) == QDialog::Accepted;
    dlg.Opts = nullptr;
    return ok;
}
