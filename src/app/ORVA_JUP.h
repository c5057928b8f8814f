// TOrbexaForm1: the observation desk, the program's main window.
#pragma once

#include "config/OptionsRecord.h"

#include <QMainWindow>
#include <memory>

class OptsObj;

class TOrbexaForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TOrbexaForm1(QWidget* parent = nullptr);
    ~TOrbexaForm1() override;

    // The client area below the menu bar.
    static constexpr int kClientWidth = 632;
    static constexpr int kClientHeight = 434;

    // The options object, created first, and the session's working copy of its
    // record that every other window reads.
    std::unique_ptr<OptsObj> Opts;
    OptionsRecord WorkingOptions;

    // True when start-up could not continue (no writable folder was given).
    bool StartupFailed() const;

private:
    void FormCreate();
};
