// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/AccessibleNames.h"

#include <QAccessible>
#include <QMetaEnum>
#include <QWidget>

namespace {

bool operated(QAccessible::Role role) {
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::ComboBox:
    case QAccessible::Slider:
    case QAccessible::ScrollBar:
    case QAccessible::MenuItem:
    case QAccessible::ButtonMenu:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::PageTab:
        return true;
    default:
        return false;
    }
}

void collect(QAccessibleInterface* node, const QString& path, QStringList& out, int depth) {
    if (!node || depth > 30) return;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child) continue;
        const QString role =
            QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(child->role()));
        const QString at = path + QLatin1Char('/') + role + QString::number(i);
        if (operated(child->role()) && child->text(QAccessible::Name).trimmed().isEmpty())
            out << role + QStringLiteral(" at ") + at;
        // The items of lists and tables are their rows, named by their text.
        if (child->role() != QAccessible::List && child->role() != QAccessible::Table)
            collect(child, at, out, depth + 1);
    }
}

} // namespace

QStringList unnamedControls(QWidget& window) {
    QStringList out;
    collect(QAccessible::queryAccessibleInterface(&window), window.objectName(), out, 0);
    return out;
}
