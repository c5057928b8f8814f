// SPDX-License-Identifier: GPL-3.0-or-later
// A two-position slide switch: the lever to the left is the inactive
// position, to the right the active one. The program sets it without an
// event; a flip by the user (a click, or Space while it has the focus)
// emits changed. A screen reader finds a check box (checked when active)
// named after its caption and the position's name ("Slider Sensitivity:
// Coarse"), and can flip it as the user does.
#pragma once

#include <QWidget>

class ToggleSwitch : public QWidget {
    Q_OBJECT
public:
    explicit ToggleSwitch(QWidget* parent = nullptr);

    bool isActive() const { return active_; }
    // Moves the lever without emitting changed.
    void setActive(bool active);

    // The caption, and the names of the inactive and active positions.
    void setCaption(const QString& caption, const QString& inactive, const QString& active);

    QSize sizeHint() const override { return {44, 22}; }

signals:
    void changed(bool active);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class ToggleSwitchAccessible;
    void flipByUser();
    // The accessible name and checked state after a change of position.
    void announce();

    bool active_ = false;
    bool pressed_ = false;
    QString caption_, inactiveName_, activeName_;
};
