// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/PageHeader.h"

#include "config/TextListWindow.h"

PrintPosition PrintPageHeader(PrintSurface& surface, const OptionsRecord& options,
                              const LoginRecord& login) {
    PrintPosition p;
    surface.setFont(QStringLiteral("Courier"), 10, true, false);
    p.PrintLineHeight = surface.textHeight(QStringLiteral("Text"));
    p.PrintMargin = surface.textWidth(QString(12, QLatin1Char(' ')));
    for (const PageHeaderLine& l :
         pageHeaderLines(printDateTimeText().toStdString(), &options, login)) {
        p.PrintLineY = l.line * p.PrintLineHeight;
        surface.drawText(0, p.PrintLineY, QString::fromStdString(l.text));
    }
    return p;
}
