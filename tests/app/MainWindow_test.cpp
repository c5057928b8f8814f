// The main window shell: caption, client area and the options it starts with.
#include "app/ORVA_JUP.h"
#include "config/Options.h"
#include "support/ScriptedDesktop.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(MainWindow, StartsWithItsCaptionClientAreaAndTheOptions) {
    ScriptedDesktop desk;
    desk.cdrom = "/media/cdrom/";
    TempDir tmp;
    const QString saved = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(tmp.path()));
    {
        TOrbexaForm1 form;
        EXPECT_FALSE(form.StartupFailed());
        EXPECT_EQ(form.windowTitle(), "ORVA Exercise - Quorvex");
        EXPECT_EQ(form.centralWidget()->size(), QSize(632, 434));
        EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
        ASSERT_TRUE(form.Opts);
        EXPECT_EQ(form.WorkingOptions, form.Opts->Options);
        EXPECT_EQ(form.WorkingOptions.ProgVersion, "2.002");
        EXPECT_EQ(form.WorkingOptions.OptsFileName, "JUP_OPTS.INI");
        EXPECT_EQ(form.WorkingOptions.WorkDir,
                  QDir(QString::fromStdString(tmp.path())).canonicalPath().toStdString() + "/");
        EXPECT_FALSE(form.WorkingOptions.Administrator);
    }
    QDir::setCurrent(saved);
    EXPECT_TRUE(desk.messages.empty());
}

} // namespace
