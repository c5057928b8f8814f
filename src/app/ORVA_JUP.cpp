#include "app/ORVA_JUP.h"

#include "config/Options.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Outer_Planets.h"
#include "widgets/DialogUtil.h"

#include <QLocale>
#include <QWidget>

TOrbexaForm1::TOrbexaForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("TOrbexaForm1");
    FormCreate();
}

TOrbexaForm1::~TOrbexaForm1() = default;

bool TOrbexaForm1::StartupFailed() const { return !Opts || Opts->TerminateRequested; }

void TOrbexaForm1::FormCreate() {
    // Step 1: numbers with "." whatever the regional settings.
    QLocale::setDefault(QLocale::c());
    // Step 2: the client area, no maximize button.
    setWindowTitle(QStringLiteral("ORVA Exercise - Quorvex"));
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    auto* client = new QWidget(this);
    client->setObjectName("ClientArea");
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    // Step 3: the options object and the working copy of its record.
    Opts = std::make_unique<OptsObj>("JUP_OPTS.INI", "2.002");
    WorkingOptions = Opts->Options;
    // The time scales and Jupiter read their tables from the program folder.
    SetLeapSecondFile(WorkingOptions.ExeDir + WorkingOptions.LeapSecondFile);
    SetOuterPlanetFile(WorkingOptions.ExeDir + WorkingOptions.OuterPlanetFile);
}
