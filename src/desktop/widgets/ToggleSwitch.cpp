// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ToggleSwitch.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

// The switch as assistive technologies see it: a check box, checked in the
// active position, whose press and toggle actions flip it as a click does.
class ToggleSwitchAccessible : public QAccessibleWidget {
public:
    explicit ToggleSwitchAccessible(ToggleSwitch* w)
        : QAccessibleWidget(w, QAccessible::CheckBox) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = toggle()->isActive();
        return s;
    }
    QStringList actionNames() const override {
        if (!widget()->isEnabled()) return {};
        return {pressAction(), toggleAction()};
    }
    void doAction(const QString& action) override {
        if (!widget()->isEnabled()) return;
        if (action == pressAction() || action == toggleAction())
            toggle()->flipByUser();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    ToggleSwitch* toggle() const { return static_cast<ToggleSwitch*>(widget()); }
};

namespace {

QAccessibleInterface* toggleSwitchAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("ToggleSwitch") && object->isWidgetType())
        return new ToggleSwitchAccessible(static_cast<ToggleSwitch*>(object));
    return nullptr;
}

} // namespace

ToggleSwitch::ToggleSwitch(QWidget* parent) : QWidget(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(toggleSwitchAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ToggleSwitch::setCaption(const QString& caption, const QString& inactive,
                              const QString& active) {
    caption_ = caption;
    inactiveName_ = inactive;
    activeName_ = active;
    announce();
}

void ToggleSwitch::setActive(bool active) {
    if (active_ == active) return;
    active_ = active;
    update();
    announce();
}

void ToggleSwitch::flipByUser() {
    active_ = !active_;
    update();
    announce();
    emit changed(active_);
}

void ToggleSwitch::announce() {
    const QString position = active_ ? activeName_ : inactiveName_;
    setAccessibleName(position.isEmpty() ? caption_ : caption_ + QStringLiteral(": ") + position);
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void ToggleSwitch::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
    event->accept();
}

void ToggleSwitch::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (rect().contains(event->position().toPoint())) flipByUser();
}

void ToggleSwitch::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        flipByUser();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ToggleSwitch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool on = isEnabled();
    const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    const qreal slotH = r.height() * 0.5;
    const QRectF slot(r.left() + 2, r.center().y() - slotH / 2, r.width() - 4, slotH);

    // The plate with its recessed slot.
    p.setPen(QPen(on ? QColor(70, 70, 70) : QColor(150, 150, 150), 1));
    p.setBrush(on ? QColor(200, 200, 200) : QColor(225, 225, 225));
    p.drawRoundedRect(r, 4, 4);
    QLinearGradient slotShade(slot.topLeft(), slot.bottomLeft());
    slotShade.setColorAt(0, on ? QColor(30, 30, 30) : QColor(150, 150, 150));
    slotShade.setColorAt(1, on ? QColor(90, 90, 90) : QColor(185, 185, 185));
    p.setBrush(slotShade);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(slot, slotH / 2, slotH / 2);

    // The lever: a ribbed knob at the left (inactive) or right (active) end.
    const qreal knobW = r.width() * 0.42;
    const QRectF knob(active_ ? r.right() - knobW : r.left(), r.top(), knobW, r.height());
    QLinearGradient knobShade(knob.topLeft(), knob.bottomLeft());
    knobShade.setColorAt(0, on ? QColor(250, 250, 250) : QColor(235, 235, 235));
    knobShade.setColorAt(1, on ? QColor(150, 150, 155) : QColor(200, 200, 200));
    p.setBrush(knobShade);
    p.setPen(QPen(on ? QColor(60, 60, 60) : QColor(160, 160, 160), 1));
    p.drawRoundedRect(knob, 3, 3);
    p.setPen(QPen(on ? QColor(100, 100, 100) : QColor(190, 190, 190), 1));
    for (int i = -1; i <= 1; ++i) {
        const qreal x = knob.center().x() + i * 3.5;
        p.drawLine(QPointF(x, knob.top() + 4), QPointF(x, knob.bottom() - 4));
    }
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    }
}
