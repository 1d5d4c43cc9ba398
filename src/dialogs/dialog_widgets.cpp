#include "dialogs/dialog_widgets.h"

#include "dialogs/qt_helpers.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QToolButton>
#include <algorithm>

namespace tira {

void ReleaseClick::press(const QMouseEvent& event)
{
    m_pressed = event.button() == Qt::LeftButton;
}

bool ReleaseClick::release(const QMouseEvent& event, const QWidget& widget)
{
    const bool click = m_pressed && event.button() == Qt::LeftButton &&
                       widget.rect().contains(event.position().toPoint());
    m_pressed = false;
    return click;
}

namespace {

// What assistive technology sees of a colour swatch: a button that can be pressed.
class SwatchAccessible : public QAccessibleWidget
{
  public:
    explicit SwatchAccessible(QWidget* swatch) : QAccessibleWidget(swatch, QAccessible::Button) {}

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action == pressAction())
            emit static_cast<ColourSwatch*>(widget())->clicked();
        else
            QAccessibleWidget::doAction(action);
    }
};

// A focus frame along the edge of `widget` in the palette's highlight colour: styles such as
// Fusion draw theirs faintly or only after a Tab key, and a control the program paints
// itself must be seen to have the focus on any theme.
void paintFocusFrame(QWidget& widget)
{
    QPainter painter(&widget);
    painter.setPen(QPen(widget.palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(widget.rect()).adjusted(1, 1, -1, -1));
}

QAccessibleInterface* swatchAccessible(const QString& className, QObject* object)
{
    if (className != QLatin1String(ColourSwatch::staticMetaObject.className())) return nullptr;
    return new SwatchAccessible(static_cast<QWidget*>(object));
}

} // namespace

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent)
{
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(swatchAccessible);
        return true;
    }();
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    setFixedSize(41, 21);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setColour(0);
}

void ColourSwatch::setColour(WinColour colour)
{
    m_colour = colour;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    setPalette(palette);
}

void ColourSwatch::setLowered(bool lowered)
{
    setFrameShadow(lowered ? QFrame::Sunken : QFrame::Raised);
    repaint(); // visible while a modal colour dialog runs
}

void ColourSwatch::mousePressEvent(QMouseEvent* event)
{
    m_click.press(*event);
    QFrame::mousePressEvent(event);
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_click.release(*event, *this);
    QFrame::mouseReleaseEvent(event);
    if (click) emit clicked();
}

void ColourSwatch::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            emit clicked();
            return;
        }
        break;
    default: break;
    }
    QFrame::keyPressEvent(event);
}

void ColourSwatch::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (hasFocus()) paintFocusFrame(*this);
}

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event)
{
    m_click.press(*event);
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_click.release(*event, *this);
    QLabel::mouseReleaseEvent(event);
    if (click) emit clicked();
}

UpDown::UpDown(QWidget* parent)
    : QWidget(parent), m_down(new QToolButton(this)), m_up(new QToolButton(this))
{
    m_down->setObjectName(QStringLiteral("down"));
    m_up->setObjectName(QStringLiteral("up"));
    m_down->setArrowType(Qt::LeftArrow);
    m_up->setArrowType(Qt::RightArrow);
    m_down->setAccessibleName(QStringLiteral("減らす"));
    m_up->setAccessibleName(QStringLiteral("増やす"));
    for (QToolButton* button : {m_down, m_up}) {
        button->setAutoRepeat(true); // held down, the arrow keeps stepping
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(18, 22);
    }
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
    connect(m_up, &QToolButton::clicked, this, [this] { step(+1); });

    // a margin around the arrows for the focus frame: the control is a tab stop
    constexpr int kFocusMargin = 2;
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kFocusMargin, kFocusMargin, kFocusMargin, kFocusMargin);
    layout->setSpacing(0);
    layout->addWidget(m_down);
    layout->addWidget(m_up);
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(36 + 2 * kFocusMargin, 22 + 2 * kFocusMargin);
}

void UpDown::paintEvent(QPaintEvent* /*event*/)
{
    if (hasFocus()) paintFocusFrame(*this);
}

void UpDown::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
}

void UpDown::step(int direction)
{
    // From outside the range the first click lands on the nearest end. Wide arithmetic:
    // the position may come from the settings file as any 32-bit value.
    const long long low = m_minimum;
    const long long high = m_maximum;
    const long long next = static_cast<long long>(m_position) + (direction > 0 ? 1 : -1);
    const long long landed =
        direction > 0 ? std::min(std::max(next, low), high) : std::max(std::min(next, high), low);
    m_position = static_cast<int>(landed);
    emit clicked(m_position);
}

void UpDown::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down: step(-1); break;
    case Qt::Key_Right:
    case Qt::Key_Up: step(+1); break;
    default: QWidget::keyPressEvent(event); return;
    }
}

void enableUnder(QCheckBox& dependent, bool on, bool checkWhenOn)
{
    if (!on || checkWhenOn) dependent.setChecked(on);
    dependent.setEnabled(on);
}

void centreOnScreen(QWidget& dialog)
{
    if (const QScreen* screen = dialog.screen()) {
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        dialog.move(frame.topLeft());
    }
}

} // namespace tira

namespace tira {

void fitToContents(QWidget& dialog, QSize client)
{
    dialog.ensurePolished();
    dialog.setFixedSize(client.expandedTo(dialog.sizeHint()));
}

} // namespace tira
