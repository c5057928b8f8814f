// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScriptedDesktop.h"

#include <QMenu>
#include <gtest/gtest.h>
#include <ostream>

ScriptedDesktop::ScriptedDesktop() : desktopScope_(this), reporterScope_(&reporter_) {}

ScriptedDesktop::~ScriptedDesktop() = default;

bool ScriptedDesktop::allAnswersUsed() const {
    return messageAnswers.empty() && dialogScripts.empty() && folderAnswers.empty() &&
           openAnswers.empty() && saveAnswers.empty() && printScripts.empty() &&
           menuScripts.empty();
}

MsgResult ScriptedDesktop::message(const Message& m) {
    messages.push_back(m);
    if (messageAnswers.empty()) {
        ADD_FAILURE() << "unexpected message box: " << ::testing::PrintToString(m);
        return (m.buttons & BtnCancel) ? MsgResult::Cancel : MsgResult::Ok;
    }
    const MsgResult r = messageAnswers.front();
    messageAnswers.pop_front();
    return r;
}

int ScriptedDesktop::execDialog(QDialog& dialog) {
    dialogTitles.push_back(dialog.windowTitle());
    if (dialogScripts.empty()) {
        ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString();
        return QDialog::Rejected;
    }
    auto script = std::move(dialogScripts.front());
    dialogScripts.pop_front();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    dialogTitles.back() = dialog.windowTitle(); // as set when shown
    script(dialog);
    if (dialog.isVisible()) dialog.reject();
    if (dialog.isVisible()) dialog.hide(); // a dialog that refuses to be cancelled
    return dialog.result();
}

QString ScriptedDesktop::chooseFolder(const QString& caption, const QString& startFolder) {
    folderRequests.push_back(caption + " @ " + startFolder);
    if (folderAnswers.empty()) {
        ADD_FAILURE() << "unexpected folder chooser " << caption.toStdString();
        return {};
    }
    QString f = folderAnswers.front();
    folderAnswers.pop_front();
    return f;
}

QString ScriptedDesktop::chooseOpenFile(const FileChoice& choice) {
    openRequests.push_back(choice);
    if (openAnswers.empty()) {
        ADD_FAILURE() << "unexpected open-file chooser " << choice.caption.toStdString();
        return {};
    }
    const auto [name, filter] = openAnswers.front();
    openAnswers.pop_front();
    return filter.isNull() ? name : completedFileName(choice.folder, name, filterSuffix(filter));
}

QString ScriptedDesktop::chooseSaveFile(const FileChoice& choice) {
    saveRequests.push_back(choice);
    if (saveAnswers.empty()) {
        ADD_FAILURE() << "unexpected save-file chooser " << choice.caption.toStdString();
        return {};
    }
    QString f = saveAnswers.front();
    saveAnswers.pop_front();
    return f;
}

std::unique_ptr<PrintSurface> ScriptedDesktop::beginPrint(const PrintRequest& request) {
    printRequests.push_back(request);
    if (printScripts.empty()) {
        ADD_FAILURE() << "unexpected printer dialog";
        return nullptr;
    }
    auto s = std::move(printScripts.front());
    printScripts.pop_front();
    return s(request);
}

void ScriptedDesktop::popupMenu(QMenu& menu, const QPoint&) {
    if (menuScripts.empty()) {
        ADD_FAILURE() << "unexpected pop-up menu";
        return;
    }
    auto s = std::move(menuScripts.front());
    menuScripts.pop_front();
    s(menu);
}

void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
