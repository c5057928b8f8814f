// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/PageHeader.h"

#include "config/TextListWindow.h"

PrintPosition PrintPageHeader(PrintSurface& surface, const OptionsRecord& options,
                              const LoginRecord& login) {
    PrintPosition p;
    surface.setFont(QStringLiteral("Courier"), 10, true, false);
    p.PrintLineHeight = surface.textHeight(QStringLiteral("Text"));
    p.PrintLineY = 0;
    p.PrintMargin = surface.textWidth(QString(12, QLatin1Char(' ')));
    surface.drawText(0, p.PrintLineY, printDateTimeText() + QStringLiteral("     Quorvex"));
    if (const QString table = QString::fromStdString(printedTableNumber(&options, &login));
        !table.isEmpty()) {
        p.PrintLineY += 2 * p.PrintLineHeight;
        surface.drawText(0, p.PrintLineY,
                         (QStringLiteral("Laboratory Table Number ") + table).left(28));
    }
    p.PrintLineY += 2 * p.PrintLineHeight;
    surface.drawText(0, p.PrintLineY, QString::fromStdString(login.StudentName1));
    for (const std::string* name : {&login.StudentName2, &login.StudentName3, &login.StudentName4}) {
        if (name->empty()) continue;
        p.PrintLineY += p.PrintLineHeight;
        surface.drawText(0, p.PrintLineY, QString::fromStdString(*name));
    }
    return p;
}
