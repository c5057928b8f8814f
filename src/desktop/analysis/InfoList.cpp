// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/InfoList.h"

#include "config/PageHeader.h"
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "common/TextLines.h"
#include "config/Getsstr.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"
#include "config/TextListWindow.h"
#include "platform/Desktop.h"
#include "widgets/DialogUtil.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

// Every line of the list is this many pixels high, whatever the font says.
constexpr int ItemHeight = 16;
// The list's font: "Courier New", bold, 14 pixels.
constexpr int ListFontPixels = 14;
// The width of a report is its widest line plus 30, at least 230 pixels.
constexpr int SizeExtra = 30;
constexpr int SizeMinWidth = 230;
// The printed lines and the caption stand this far right of the page margin.
constexpr int PrintIndent = 50;

class FixedHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(ItemHeight);
        return s;
    }
};

// The hourglass and a disabled window while a document prints; both come back
// however the printing ends.
class BusyWhilePrinting {
public:
    explicit BusyWhilePrinting(QWidget* w) : w_(w) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        w_->setEnabled(false);
    }
    ~BusyWhilePrinting() {
        w_->setEnabled(true);
        QApplication::restoreOverrideCursor();
    }
    BusyWhilePrinting(const BusyWhilePrinting&) = delete;
    BusyWhilePrinting& operator=(const BusyWhilePrinting&) = delete;

private:
    QWidget* w_;
};

// The save dialog's filters, in the program's order.
const char* const SaveFilters = "Text Files (*.TXT);;"
                                "Image Header Text (*.HDR);;"
                                "Image Display Info (*.IMG);;"
                                "Astrometric Solution Text (*.SLN);;"
                                "Reference Field Info (*.RFL);;"
                                "All Files (*)";

} // namespace

TInfoListForm1::TInfoListForm1(const OptionsRecord& options, const LoginRecord& login,
                               QWidget* parent)
    : QDialog(parent), options_(options), login_(login) {
    setObjectName("TInfoListForm1");
    setSizeGripEnabled(false);

    MainMenu1 = new QMenuBar(this);
    List1 = MainMenu1->addMenu(QStringLiteral("&List"));
    Search1 = List1->addAction(QStringLiteral("&Search..."));
    N2 = List1->addSeparator();
    Print1 = List1->addAction(QStringLiteral("&Print..."));
    Print1->setCheckable(true);
    N3 = List1->addSeparator();
    SaveasText1 = List1->addMenu(QStringLiteral("Save &Text"));
    SaveasText1->menuAction()->setCheckable(true);
    AsDisplayed1 = SaveasText1->addAction(QStringLiteral("As &Displayed..."));
    N6 = SaveasText1->addSeparator();
    CommaDelimit = SaveasText1->addAction(QStringLiteral("&Comma Delimit (for Spreadsheet)..."));
    N1 = List1->addSeparator();
    Close1 = List1->addAction(QStringLiteral("&Close"));

    Edit1 = MainMenu1->addMenu(QStringLiteral("&Edit"));
    EditSelectedLine1 = Edit1->addAction(QStringLiteral("&Edit Selected Line..."));
    N5 = Edit1->addSeparator();
    DeleteSelectedLine1 = Edit1->addAction(QStringLiteral("&Delete Selected Line"));
    UndoSep = Edit1->addSeparator();
    UndoEditDelete1 = Edit1->addAction(QStringLiteral("&Undo Edit/Delete"));

    PopupMenu1 = new QMenu(this);
    Edit2 = PopupMenu1->addAction(QStringLiteral("&Edit"));
    Delete1 = PopupMenu1->addAction(QStringLiteral("&Delete"));

    ListBox1 = makeTextListBox(this);
    QFont font = textListFont();
    font.setPixelSize(ListFontPixels);
    font.setBold(true);
    ListBox1->setFont(font);
    ListBox1->setItemDelegate(new FixedHeightDelegate(ListBox1));
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ListBox1->viewport()->installEventFilter(this);
    // A short report gets a short window: no minimum from the list's style.
    ListBox1->setMinimumSize(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(ListBox1);

    // The handlers are virtual: each action reaches the derived window's version.
    connect(Search1, &QAction::triggered, this, [this] { Search1Click(); });
    connect(Print1, &QAction::triggered, this, [this] { Print1Click(); });
    connect(AsDisplayed1, &QAction::triggered, this, [this] { SaveasText1Click(); });
    connect(Close1, &QAction::triggered, this, [this] { Close1Click(); });
    for (QAction* a : {EditSelectedLine1, Edit2})
        connect(a, &QAction::triggered, this, [this] { EditSelectedLine1Click(); });
    for (QAction* a : {DeleteSelectedLine1, Delete1})
        connect(a, &QAction::triggered, this, [this] { DeleteSelectedLine1Click(); });
    connect(UndoEditDelete1, &QAction::triggered, this, [this] { UndoEditDelete1Click(); });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { ListBox1DblClick(); });
}

TInfoListForm1::~TInfoListForm1() = default;

void TInfoListForm1::FormCreate() {
    Printed = false;
    Saved = false;
    ReportName.clear();
    ReportFile.clear();
    ReportDir.clear();
    SelectedEntry = -1;
    CommaDelimit->setEnabled(false);
    UndoEditDelete1->setEnabled(false);
    Edit1->menuAction()->setVisible(EditsEntries());
    showCheckMarks();
}

// --- The lines ----------------------------------------------------------------------

void TInfoListForm1::SetLines(const std::vector<std::string>& lines) {
    ListBox1->clear();
    for (const std::string& l : lines)
        ListBox1->addItem(QString::fromStdString(l));
}

std::vector<std::string> TInfoListForm1::Lines() const {
    return listLines(*ListBox1);
}

int TInfoListForm1::SelectedLine() const {
    return selectedRow(*ListBox1);
}

void TInfoListForm1::SelectLine(int line) {
    selectRow(*ListBox1, line);
    if (line >= 0 && line < ListBox1->count()) ListBox1->scrollToItem(ListBox1->item(line));
}

// --- Showing, activation, closing ---------------------------------------------------

void TInfoListForm1::FormShow() {
    sizeToTextList(*this, *ListBox1, MainMenu1->sizeHint().height(), SizeExtra, SizeMinWidth);
    showCheckMarks();
}

void TInfoListForm1::ShowReport() {
    if (!isVisible()) {
        show();
        return;
    }
    FormShow();
    raise();
    activateWindow();
}

void TInfoListForm1::showCheckMarks() {
    Print1->setChecked(Printed);
    SaveasText1->menuAction()->setChecked(Saved);
}

void TInfoListForm1::showEvent(QShowEvent* event) {
    FormShow();
    if (!shownOnce_) centreOnScreen(this);
    shownOnce_ = true;
    QDialog::showEvent(event);
}

void TInfoListForm1::FormActivate() {
    TGetSrchStrDlg* search = GetSrchStrDlg();
    search->ResetSearch();
    search->How = TGetSrchStrDlg::Cancelled;
    CommaDelimit->setEnabled(false);
}

void TInfoListForm1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
    QDialog::changeEvent(event);
}

void TInfoListForm1::FormClose() {}

void TInfoListForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    // Hidden, never destroyed: the window is shown again with what it kept.
    QDialog::closeEvent(event);
}

void TInfoListForm1::Close1Click() {
    close();
}

void TInfoListForm1::ListBox1MouseUp(Qt::MouseButton button, const QPoint&) {
    LastMouseButton = button;
}

bool TInfoListForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* me = static_cast<QMouseEvent*>(event);
        ListBox1MouseUp(me->button(), me->position().toPoint());
    }
    return QDialog::eventFilter(watched, event);
}

void TInfoListForm1::OpenPopupMenu(const QPoint& at) {
    desktop().popupMenu(*PopupMenu1, ListBox1->viewport()->mapToGlobal(at));
}

// --- Search, print, save ------------------------------------------------------------

void TInfoListForm1::Search1Click() {
    const int found = searchTextList(*ListBox1, QStringLiteral("Find Text String"));
    if (found < 0) return;
    SelectLine(found);
    ListBox1->viewport()->repaint(); // at once
}

void TInfoListForm1::Print1Click() {
    PrintRequest request;
    request.title = QString::fromStdString(pageHeaderTitle(login_));
    std::unique_ptr<PrintSurface> surface = desktop().beginPrint(request);
    if (surface) {
        bool printed = false;
        {
            BusyWhilePrinting busy(this);
            printed = PrintList(*surface);
        }
        if (printed)
            Printed = true;
        else
            reportPrintFailure(*surface);
    }
    showCheckMarks(); // the action's own toggle must not stand for the flag
}

bool TInfoListForm1::PrintList(PrintSurface& surface) {
    const PrintPosition pos = PrintPageHeader(surface, options_, login_);
    const int h = pos.PrintLineHeight;
    const int x = pos.PrintMargin + PrintIndent;
    int y = pos.PrintLineY + 2 * h;
    surface.drawText(x, y, windowTitle());
    y += 2 * h;
    for (int i = 0; i < ListBox1->count(); ++i) {
        if (surface.pageHeight() < y + h) {
            surface.newPage();
            y = h;
        }
        surface.drawText(x, y, ListBox1->item(i)->text());
        y += h;
    }
    return surface.endDocument();
}

void TInfoListForm1::SaveasText1Click() {
    if (ReportDir.empty()) ReportDir = options_.UserDataDir;
    FileChoice choice;
    choice.caption = QStringLiteral("Save Report in Text File");
    choice.folder = QString::fromStdString(ReportDir);
    choice.fileName = QString::fromStdString(ReportName + ".TXT");
    choice.filter = QString::fromUtf8(SaveFilters);
    choice.defaultSuffix = QStringLiteral("TXT");
    const QString chosen = desktop().chooseSaveFile(choice);
    if (chosen.isEmpty()) {
        Saved = false;
        Printed = false;
        showCheckMarks();
        return;
    }
    const std::string path = fileio::upperCaseFileName(chosen.toStdString());
    ReportFile = fileio::nameOf(path);
    ReportDir = fileio::folderOf(path);
    // Written beside the old file and put in its place only when complete.
    const int32_t code = fileio::writeFileReplacing(path, joinTextLines(Lines()));
    if (code != IOOk) {
        desktop().message(fileFaultMessage(path, code));
        return;
    }
    showMessage(QStringLiteral("Text File Written"),
                QStringLiteral("Report Text Written to ") + QString::fromStdString(ReportFile) +
                    QStringLiteral("."),
                MsgIcon::Information);
    Saved = true;
    Printed = true;
    showCheckMarks();
}

