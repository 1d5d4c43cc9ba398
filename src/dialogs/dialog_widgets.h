#pragma once

#include "settings/settings.h"

#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QWidget>

class QCheckBox;
class QMouseEvent;
class QToolButton;

namespace tira {

// A left click as a button takes it: pressed and released on the widget.
class ReleaseClick
{
  public:
    void press(const QMouseEvent& event);
    // True when `event` ends a click on `widget`.
    bool release(const QMouseEvent& event, const QWidget& widget);

  private:
    bool m_pressed = false;
};

// A small panel filled with the colour it edits; raised, lowered while it is being changed.
// It keeps the stored colour value exactly, bits a QColor cannot hold included. A tab stop:
// Space or Enter opens its colour choice as a click does. Screen readers see a button whose
// press action is that click.
class ColourSwatch : public QFrame
{
    Q_OBJECT
  public:
    explicit ColourSwatch(QWidget* parent = nullptr);

    WinColour colour() const noexcept { return m_colour; }
    void setColour(WinColour colour);
    void setLowered(bool lowered);
    bool isLowered() const { return frameShadow() == QFrame::Sunken; }

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    WinColour m_colour = 0;
    ReleaseClick m_click;
};

// A label that reports a left click.
class ClickableLabel : public QLabel
{
    Q_OBJECT
  public:
    explicit ClickableLabel(QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    ReleaseClick m_click;
};

// Horizontal up-down arrows over an integer position: the left arrow steps down, the right
// arrow up, by one, without wrapping. A position set from outside the range is kept as it is
// until an arrow moves it back into the range.
class UpDown : public QWidget
{
    Q_OBJECT
  public:
    explicit UpDown(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const noexcept { return m_minimum; }
    int maximum() const noexcept { return m_maximum; }
    int position() const noexcept { return m_position; }
    void setPosition(int position) noexcept { m_position = position; }

    // One arrow click: direction +1 up, -1 down. Emits clicked().
    void step(int direction);

  signals:
    void clicked(int position); // after every arrow click, with the position it left

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override; // the focus frame around the arrows

  private:
    QToolButton* m_down;
    QToolButton* m_up;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
};

// A switch that means something only while another is on: enabled while `on` (and then
// checked too when `checkWhenOn`), otherwise cleared and disabled.
void enableUnder(QCheckBox& dependent, bool on, bool checkWhenOn = false);

// Moves a dialog, frame included, to the centre of its screen.
void centreOnScreen(QWidget& dialog);

// Fixes a dialog's size: `client` at the default font, larger where a larger font needs
// more room, so that no caption is cut.
void fitToContents(QWidget& dialog, QSize client);

} // namespace tira
