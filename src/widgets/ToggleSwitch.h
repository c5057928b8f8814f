// A two-position slide switch: the lever to the left is the inactive
// position, to the right the active one. The program sets it without an
// event; a flip by the user (a click, or Space while it has the focus)
// emits changed.
#pragma once

#include <QWidget>

class ToggleSwitch : public QWidget {
    Q_OBJECT
public:
    explicit ToggleSwitch(QWidget* parent = nullptr);

    bool isActive() const { return active_; }
    // Moves the lever without emitting changed.
    void setActive(bool active);

    QSize sizeHint() const override { return {44, 22}; }

signals:
    void changed(bool active);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void flipByUser();

    bool active_ = false;
    bool pressed_ = false;
};
