// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop for tests: records every request (message boxes word for word,
// dialogs, choosers, printing) and answers from queues. A request with no
// answer queued fails the test.
#pragma once

#include "platform/Desktop.h"
#include "support/ScriptedReporter.h" // PrintTo(Message)

#include <QDialog>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class ScriptedDesktop : public Desktop {
public:
    // Installs itself as the desktop and (through a DesktopReporter) as the
    // engine's reporter; restores both when destroyed.
    ScriptedDesktop();
    ~ScriptedDesktop() override;

    // --- scripting -----------------------------------------------------------
    void answerMessage(MsgResult r) { messageAnswers.push_back(r); }
    // The script runs while the dialog is shown (non-modally, offscreen); it
    // fills in controls and clicks buttons. The dialog's result is returned
    // to the caller. A script that leaves the dialog open rejects it.
    using DialogScript = std::function<void(QDialog&)>;
    void onDialog(DialogScript s) { dialogScripts.push_back(std::move(s)); }
    void answerFolder(const QString& f) { folderAnswers.push_back(f); }
    void answerOpenFile(const QString& f) { openAnswers.push_back({f, QString()}); }
    // A name typed into the chooser with a filter chosen: completed as the
    // program's chooser completes it (in the starting folder, with the
    // filter's extension when the name has none).
    void answerOpenFile(const QString& typed, const QString& chosenFilter) {
        openAnswers.push_back({typed, chosenFilter});
    }
    void answerSaveFile(const QString& f) { saveAnswers.push_back(f); }
    using PrintScript = std::function<std::unique_ptr<PrintSurface>(const PrintRequest&)>;
    void onPrint(PrintScript s) { printScripts.push_back(std::move(s)); }
    using MenuScript = std::function<void(QMenu&)>;
    void onPopupMenu(MenuScript s) { menuScripts.push_back(std::move(s)); }

    QString user = QStringLiteral("student");
    QString home;
    QString cdrom; // empty: no CD-ROM mounted

    // --- what happened ---------------------------------------------------------
    std::vector<Message> messages;
    std::vector<QString> dialogTitles;
    std::vector<FileChoice> openRequests, saveRequests;
    std::vector<QString> folderRequests;
    std::vector<PrintRequest> printRequests;
    int beeps = 0;

    // True when every queued answer was used.
    bool allAnswersUsed() const;

    // --- Desktop -----------------------------------------------------------------
    MsgResult message(const Message& m) override;
    int execDialog(QDialog& dialog) override;
    QString chooseFolder(const QString& caption, const QString& startFolder) override;
    QString chooseOpenFile(const FileChoice& choice) override;
    QString chooseSaveFile(const FileChoice& choice) override;
    std::unique_ptr<PrintSurface> beginPrint(const PrintRequest& request) override;
    void popupMenu(QMenu& menu, const QPoint& at) override;
    void beep() override { ++beeps; }
    QString userName() override { return user; }
    QString homeFolder() override { return home; }
    QString cdromMountPoint() override { return cdrom; }

private:
    std::deque<MsgResult> messageAnswers;
    std::deque<DialogScript> dialogScripts;
    std::deque<QString> folderAnswers, saveAnswers;
    std::deque<std::pair<QString, QString>> openAnswers; // name, chosen filter
    std::deque<PrintScript> printScripts;
    std::deque<MenuScript> menuScripts;
    DesktopScope desktopScope_;
    DesktopReporter reporter_;
    ReporterScope reporterScope_;
};

// Pretty-printing for assertion failures.
void PrintTo(const QString& s, std::ostream* os);
