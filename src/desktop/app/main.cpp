// SPDX-License-Identifier: GPL-3.0-or-later
// quorvex: the Jupiter's moons laboratory exercise.
#include "app/ORVA_JUP.h"
#include "common/Reporter.h"
#include "platform/Desktop.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Duzevid Avozo"));
    DesktopReporter desktopReporter;
    setReporter(&desktopReporter);

    // The main window first; it creates the windows of the exercise it owns.
    TOrbexaForm1 mainForm;
    if (mainForm.StartupFailed()) return 1;
    mainForm.show();
    return app.exec();
}
