// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ResultsDlg.h"

#include "lab/MeasurementDesk.h"
#include "platform/Desktop.h"
#include "widgets/DialogUtil.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace {

const char* const MoonLabels[] = {"Io (1):", "Europa (2):", "Ganymede (3):", "Callisto (4):"};
const char* const BoxNames[] = {"IOEd", "EuropaEd", "GanymedeEd", "CallistoEd"};

} // namespace

TResultsForm1::TResultsForm1(MeasurementSession& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setObjectName("TResultsForm1");
    setWindowTitle(QStringLiteral("Record/Edit Measurements"));
    setWindowFlag(Qt::WindowStaysOnTopHint);

    JDLbl = new QLabel(this);
    DTLbl = new QLabel(this);
    InstructionLbl =
        new QLabel(QStringLiteral("(Enter Jupiter Diameters \"E\"ast or \"W\"est)"), this);
    for (QLabel* l : {JDLbl, DTLbl, InstructionLbl})
        l->setAlignment(Qt::AlignCenter);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    grid->addWidget(JDLbl, 0, 0, 1, 2);
    grid->addWidget(DTLbl, 1, 0, 1, 2);
    grid->addWidget(InstructionLbl, 2, 0, 1, 2);
    std::array<QLineEdit*, 4> boxes{};
    for (int m = 1; m <= kMoonCount; ++m) {
        const std::size_t i = std::size_t(m - 1);
        MoonLbl[i] = new QLabel(QString::fromUtf8(MoonLabels[i]), this);
        boxes[i] = new QLineEdit(this);
        boxes[i]->setObjectName(QString::fromUtf8(BoxNames[i]));
        boxes[i]->setFixedWidth(100);
        MoonLbl[i]->setBuddy(boxes[i]);
        grid->addWidget(MoonLbl[i], 2 + m, 0, Qt::AlignRight);
        grid->addWidget(boxes[i], 2 + m, 1, Qt::AlignLeft);
    }
    IOEd = boxes[0];
    EuropaEd = boxes[1];
    GanymedeEd = boxes[2];
    CallistoEd = boxes[3];

    QDialogButtonBox* buttons = okCancelButtons(this, OKBtn, CancelBtn);
    buttons->setCenterButtons(true);
    grid->addWidget(buttons, 7, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKBtn, &QPushButton::clicked, this, &TResultsForm1::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TResultsForm1::CancelBtnClick);
}

// The table empties itself when the dialog goes at the end of the run.
TResultsForm1::~TResultsForm1() = default;

QLineEdit* TResultsForm1::Box(int moon) const {
    switch (moon) {
    case 1:
        return IOEd;
    case 2:
        return EuropaEd;
    case 3:
        return GanymedeEd;
    default:
        return CallistoEd;
    }
}

void TResultsForm1::FormActivate() {
    const EntryDateLabels labels = EntryDateLabelTexts(PendingRecord.JulianDate);
    JDLbl->setText(QString::fromStdString(labels.julianDay));
    DTLbl->setText(QString::fromStdString(labels.dateTime));
    for (int m = 1; m <= kMoonCount; ++m)
        Box(m)->setText(QString::fromStdString(
            EntryBoxText(PendingRecord.Offset[m], PendingRecord.Included[m])));
}

QPoint EntryDialogPosition(const QRect& mainFrame, const QSize& dialogFrame,
                           const QRect& workArea) {
    constexpr int gap = 4;
    const QRect candidates[] = {
        QRect(QPoint(mainFrame.right() + 1 + gap, mainFrame.top()), dialogFrame),
        QRect(QPoint(mainFrame.left() - gap - dialogFrame.width(), mainFrame.top()), dialogFrame),
        QRect(QPoint(mainFrame.left(), mainFrame.bottom() + 1 + gap), dialogFrame),
    };
    // The first that fits; else the one that keeps most of itself on the screen.
    const QRect* best = &candidates[0];
    long bestArea = -1;
    for (const QRect& c : candidates) {
        const QRect on = c.intersected(workArea);
        const long area = long(on.width()) * on.height();
        if (workArea.contains(c)) {
            best = &c;
            break;
        }
        if (area > bestArea) {
            best = &c;
            bestArea = area;
        }
    }
    // Into the work area, its top left corner first when it is too large.
    const int x = std::max(workArea.left(),
                           std::min(best->left(), workArea.right() + 1 - dialogFrame.width()));
    const int y = std::max(workArea.top(),
                           std::min(best->top(), workArea.bottom() + 1 - dialogFrame.height()));
    return QPoint(x, y);
}

void TResultsForm1::showEvent(QShowEvent* event) {
    FormActivate();
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = owner ? owner->screen() : nullptr;
    if (owner && owner->isVisible() && screen) {
        // The frame's margins are the window manager's; until the dialog has
        // been shown once they are taken to be the main window's.
        const QMargins margins(geometry().left() - frameGeometry().left(),
                               geometry().top() - frameGeometry().top(),
                               frameGeometry().right() - geometry().right(),
                               frameGeometry().bottom() - geometry().bottom());
        const QMargins ownerMargins(owner->geometry().left() - owner->frameGeometry().left(),
                                    owner->geometry().top() - owner->frameGeometry().top(),
                                    owner->frameGeometry().right() - owner->geometry().right(),
                                    owner->frameGeometry().bottom() - owner->geometry().bottom());
        const QMargins m = margins.isNull() ? ownerMargins : margins;
        const QPoint at = EntryDialogPosition(owner->frameGeometry(), size().grownBy(m),
                                              screen->availableGeometry());
        move(at);
    } else {
        centreOnScreen(this);
    }
    IOEd->setFocus();
    QDialog::showEvent(event);
}

void TResultsForm1::OKBtnClick() {
    std::array<std::string, 4> boxes;
    for (int m = 1; m <= kMoonCount; ++m)
        boxes[std::size_t(m - 1)] = Box(m)->text().toStdString();
    const EntryBoxesResult r = ReadEntryBoxes(PendingRecord, boxes);
    // A value taken into a recording is not in the table yet; a table record
    // being edited is.
    if (r.valueAccepted) session_.SetPendingStored(EditingExisting);
    if (r.failedMoon != 0) {
        EntryError = true;
        desktop().message(InvalidEntryMessage(r.failedMoon));
        Box(r.failedMoon)->setFocus();
        Box(r.failedMoon)->selectAll();
        return;
    }
    EntryError = false;
    EditingExisting = false;
    if (ModalEntry)
        accept();
    else
        hide();
}

void TResultsForm1::CancelBtnClick() {
    if (ModalEntry)
        QDialog::reject();
    else
        hide();
}

void TResultsForm1::reject() {
    CancelBtnClick();
}

void TResultsForm1::ShowForRecording() {
    ModalEntry = false;
    if (isVisible())
        FormActivate();
    else
        show();
    raise();
    activateWindow();
}

bool TResultsForm1::StorePending() {
    if (!StorePendingOver(Table, PendingRecord, storedCopy_)) return false;
    session_.SetPendingStored(true);
    session_.SetDataSaved(false);
    session_.EnableDataMenus();
    return true;
}

bool TResultsForm1::HoldsUnstoredValue() const {
    return !session_.PendingStored() && PendingRecord.JulianDate != 0.0L &&
           UsableValueCount(PendingRecord) >= 1;
}

void TResultsForm1::ResetPending() {
    ::ResetPending(PendingRecord);
    storedCopy_.reset();
    for (int m = 1; m <= kMoonCount; ++m)
        Box(m)->clear();
}

void TResultsForm1::Flush() {
    if (isVisible()) OKBtnClick();
    if (!session_.PendingStored()) {
        StorePending();
        ResetPending();
    }
}

bool TResultsForm1::EditExisting(const MeasurementRec& record, MeasurementRec& edited) {
    const MeasurementRec recording = PendingRecord;
    const bool recordingStored = session_.PendingStored();
    const bool recordingOpen = isVisible();
    if (recordingOpen) hide();

    EditingExisting = true;
    ModalEntry = true;
    EntryError = false;
    PendingRecord = record;
    const int result = desktop().execDialog(*this);
    const bool ok = result == QDialog::Accepted && !EntryError;
    edited = PendingRecord;
    EditingExisting = false;
    ModalEntry = false;

    PendingRecord = recording;
    session_.SetPendingStored(recordingStored);
    if (recordingOpen) ShowForRecording();
    return ok;
}
