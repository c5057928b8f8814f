// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/TextListWindow.h"

#include "config/Getsstr.h"
#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"
#include "lab/TextListRules.h"
#include "platform/Desktop.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

QFont textListFont() {
    QFont font(mapFontFamily(QStringLiteral("Courier New")), 10);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

QListWidget* makeTextListBox(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName("ListBox1");
    list->setFont(textListFont());
    list->setUniformItemSizes(true);
    // A screen reader names the list after its window, whose caption says
    // what it lists (and changes with the help topic shown).
    QWidget* window = parent->window();
    list->setAccessibleName(window->windowTitle());
    QObject::connect(window, &QWidget::windowTitleChanged, list, &QWidget::setAccessibleName);
    return list;
}

int selectedRow(const QListWidget& list) {
    const int row = list.currentRow();
    if (row < 0 || row >= list.count() || !list.item(row)->isSelected()) return -1;
    return row;
}

void selectRow(QListWidget& list, int row) {
    if (row < 0 || row >= list.count()) {
        list.setCurrentRow(-1);
        list.clearSelection();
        return;
    }
    list.setCurrentRow(row);
    list.item(row)->setSelected(true);
}

void selectRowAtTop(QListWidget& list, int row) {
    selectRow(list, row);
    if (row >= 0 && row < list.count())
        list.scrollToItem(list.item(row), QAbstractItemView::PositionAtTop);
}

std::vector<std::string> listLines(const QListWidget& list) {
    std::vector<std::string> lines;
    lines.reserve(std::size_t(list.count()));
    for (int i = 0; i < list.count(); ++i)
        lines.push_back(list.item(i)->text().toStdString());
    return lines;
}

void sizeToTextList(QWidget& window, QListWidget& list, int menuBarHeight, int extra,
                    int minWidth) {
    const QFontMetrics fm(list.font());
    int widest = 0;
    for (int i = 0; i < list.count(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(list.item(i)->text()));
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    const TextListSize size =
        textListClientSize(widest, fm.lineSpacing(), list.count(), screenWidth, extra, minWidth);
    // The rule sizes the text area; the list box's frame and, for a long
    // list, its scroll bar come on top (within the screen).
    const int frame = 2 * list.frameWidth();
    const int bar = size.height < list.count() * fm.lineSpacing()
                        ? list.style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                        : 0;
    const int width = std::min(size.width + frame + bar, std::max(minWidth, screenWidth - 10));
    window.resize(width, size.height + frame + menuBarHeight);
}

int searchTextList(const QListWidget& list, const QString& caption) {
    TGetSrchStrDlg* dlg = GetSrchStrDlg();
    dlg->setWindowTitle(caption);
    dlg->EmptySearch = false;
    desktop().execDialog(*dlg);
    // A search asked for without text ends as cancelled, and says so.
    const std::string text = dlg->EmptySearch ? std::string() : dlg->SearchText.toStdString();
    if (!dlg->EmptySearch && (dlg->How == TGetSrchStrDlg::Cancelled || text.empty())) return -1;
    const TextSearchOutcome found =
        searchTextLines(listLines(list), selectedRow(list), dlg->How == TGetSrchStrDlg::FromCursor,
                        text, dlg->CaseDependent);
    if (found.message) desktop().message(*found.message);
    return found.line;
}

void sayStringNotFound(const QString& text) {
    desktop().message(stringNotFoundMessage(text.toStdString()));
}

QString printJobTitle(const QString& who) {
    return QString::fromStdString(listPrintJobTitle(who.toStdString()));
}

QString printoutFirstLine(const OptionsRecord* options, const LoginRecord* login) {
    return printDateTimeText() + QString::fromStdString(printoutTableText(options, login));
}

QStringList printoutNameLines(const LoginRecord* login) {
    QStringList lines;
    for (const std::string& name : printoutNames(login))
        lines << QString::fromStdString(name);
    return lines;
}

void printTextListing(PrintSurface& surface, const ListPrintout& p) {
    surface.setFont(QStringLiteral("Courier"), 10, true, false);
    const int h = std::max(1, surface.textHeight(QStringLiteral("Text")));
    const int margin = surface.pageWidth() > surface.pageHeight() ? 50 : 0;
    const int indent = margin + 50;
    auto yOf = [h](int line) { return (line - 1) * h; };
    surface.drawText(margin, yOf(1), p.firstLine);
    int line = 3;
    if (!p.names.isEmpty()) {
        for (int i = 0; i < p.names.size(); ++i) {
            if (i > 0) ++line;
            surface.drawText(margin, yOf(line), p.names[i]);
        }
        line += 2;
    }
    for (const QString& heading : p.headings) {
        surface.drawText(indent, yOf(line), heading);
        line += 2;
    }
    for (const QString& text : p.lines) {
        if (yOf(line) + h > surface.pageHeight()) {
            surface.newPage();
            line = 2;
        }
        surface.drawText(indent, yOf(line), text);
        ++line;
    }
}
