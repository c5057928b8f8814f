// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/DialogUtil.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadialGradient>
#include <QScreen>
#include <QWidget>
#include <map>

void centreOnScreen(QWidget* w) {
    QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize size = w->frameGeometry().size().isValid() ? w->frameGeometry().size() : w->size();
    w->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

void centreOnParent(QWidget* w) {
    QWidget* owner = w->parentWidget() ? w->parentWidget()->window() : nullptr;
    if (!owner || !owner->isVisible()) {
        centreOnScreen(w);
        return;
    }
    const QSize size = w->frameGeometry().size().isValid() ? w->frameGeometry().size() : w->size();
    w->move(owner->frameGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
}

namespace {

QPixmap drawJupiter(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(size * 0.06, size * 0.06, size * 0.88, size * 0.88);
    QPainterPath clip;
    clip.addEllipse(disc);
    p.setClipPath(clip);
    // Zones and belts from north to south.
    const QColor bands[] = {QColor(196, 170, 140), QColor(236, 222, 196), QColor(170, 120, 88),
                            QColor(240, 228, 204), QColor(176, 128, 92),  QColor(232, 216, 190),
                            QColor(190, 162, 132)};
    const int n = int(std::size(bands));
    for (int i = 0; i < n; ++i)
        p.fillRect(QRectF(disc.left(), disc.top() + disc.height() * i / n, disc.width(),
                          disc.height() / n + 1),
                   bands[i]);
    // The Red Spot.
    p.setBrush(QColor(184, 84, 60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(disc.left() + disc.width() * 0.55, disc.top() + disc.height() * 0.60,
                         disc.width() * 0.2, disc.height() * 0.1));
    // Limb darkening.
    QRadialGradient shade(disc.center(), disc.width() / 2);
    shade.setColorAt(0.7, QColor(0, 0, 0, 0));
    shade.setColorAt(1.0, QColor(0, 0, 0, 110));
    p.setBrush(shade);
    p.drawEllipse(disc);
    return pm;
}

} // namespace

QIcon programIcon() {
    static const QIcon icon = [] {
        QIcon i;
        for (int s : {16, 24, 32, 48, 64, 128})
            i.addPixmap(drawJupiter(s));
        return i;
    }();
    return icon;
}

namespace {

class MaskStyle : public QProxyStyle {
public:
    explicit MaskStyle(QChar mask) : mask_(mask) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return mask_.unicode();
        if (hint == SH_LineEdit_PasswordMaskDelay) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    QChar mask_;
};

} // namespace

void setMaskCharacter(QLineEdit* edit, QChar mask) {
    // One style per mask character, owned by the application so that it
    // outlives every edit that uses it.
    static std::map<char16_t, MaskStyle*> styles;
    MaskStyle*& style = styles[mask.unicode()];
    if (style == nullptr) {
        style = new MaskStyle(mask);
        style->setParent(QCoreApplication::instance());
        QObject::connect(style, &QObject::destroyed, [key = mask.unicode()] { styles.erase(key); });
    }
    edit->setStyle(style);
    edit->setEchoMode(QLineEdit::Password);
}

namespace {

// The program's dialogs show OK before Cancel whatever the desktop's custom.
class OkFirstStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_DialogButtonLayout) return QDialogButtonBox::WinLayout;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

QDialogButtonBox* okCancelButtons(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel,
                                  const QString& okText, const QString& cancelText) {
    // One style for every button box, owned by the application.
    static QPointer<OkFirstStyle> style;
    if (!style) {
        style = new OkFirstStyle;
        style->setParent(QCoreApplication::instance());
    }
    auto* box = new QDialogButtonBox(dialog);
    box->setStyle(style);
    ok = box->addButton(okText, QDialogButtonBox::AcceptRole);
    cancel = box->addButton(cancelText, QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    return box;
}

PromptControls buildPromptDialog(QDialog* dialog, const QString& prompt, int editWidth) {
    PromptControls c;
    c.label = new QLabel(prompt, dialog);
    c.edit = new QLineEdit(dialog);
    c.edit->setMinimumWidth(editWidth);
    c.label->setBuddy(c.edit);
    QDialogButtonBox* buttons = okCancelButtons(dialog, c.ok, c.cancel);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(c.label);
    layout->addWidget(c.edit);
    layout->addWidget(buttons);
    QObject::connect(c.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return c;
}
