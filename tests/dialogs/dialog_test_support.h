#pragma once

#include "cli/recording_pane.h"
#include "report/clock.h"
#include "report/main_state.h"
#include "settings/settings.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <string>
#include <utility>

namespace tira::test {

// A main window's state over a recording pane, a fixed clock and a fresh home folder.
struct Harness
{
    RecordingPane pane;
    FixedClock clock{ClockReading{2024, 5, 9, 10, 0}};
    QTemporaryDir home;
    MainState state{home.path().toStdString(), pane, pane, clock};

    Harness() { state.settings = loadSettings(file("TIRA.ini"), home.path().toStdString()); }
    std::string file(const QString& name) const
    {
        return (home.path() + u'/' + name).toStdString();
    }
};

// Brings the page holding `widget` to the front, as a user would before using it.
inline void showPageOf(QWidget* widget)
{
    for (QWidget* child = widget; child; child = child->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(child->parentWidget());
        if (stack && qobject_cast<QTabWidget*>(stack->parentWidget())) {
            stack->setCurrentWidget(child);
            return;
        }
    }
}

// A left click where a user would click: on a check box's box, elsewhere the middle.
inline void click(QWidget* widget)
{
    QVERIFY(widget);
    showPageOf(widget);
    const QPoint where = qobject_cast<QCheckBox*>(widget) ? QPoint(8, widget->height() / 2)
                                                          : widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, where);
}

// What a screen reader hears as the name of `widget`.
inline QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// Every control of `dialog` a user can reach (a tab stop, or a colour swatch) has a name.
inline void expectAccessibleNames(QWidget& dialog)
{
    int checked = 0;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (widget->focusPolicy() == Qt::NoFocus) continue;
        if (qobject_cast<QTabBar*>(widget->parentWidget())) continue; // the tab bar's arrows
        ++checked;
        QVERIFY2(!accessibleName(widget).isEmpty(),
                 qPrintable(widget->objectName() + QLatin1Char(' ') +
                            QString::fromLatin1(widget->metaObject()->className())));
    }
    QVERIFY(checked > 10);
}

// With a 12 pt general font the dialog grows: on every page (or in the dialog, when it has
// no pages) no caption is narrower than it needs. Opens `Dialog` with `args` itself, as the
// font must be set first.
template <class Dialog, class... Args>
void expectNothingCutAtLargerFont(QSize atDefault, Args&&... args)
{
    const QFont before = QApplication::font();
    QFont larger = before;
    larger.setPointSize(12);
    QApplication::setFont(larger);
    {
        Dialog dialog(std::forward<Args>(args)..., nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.width() > atDefault.width() || dialog.height() > atDefault.height());
        QTabWidget* pages = dialog.template findChild<QTabWidget*>();
        const int pageCount = pages ? pages->count() : 1;
        for (int page = 0; page < pageCount; ++page) {
            if (pages) pages->setCurrentIndex(page);
            QApplication::processEvents();
            QWidget* shown = pages ? pages->widget(page) : &dialog;
            const QString where = pages ? pages->tabText(page) : QString();
            for (QWidget* widget : shown->findChildren<QWidget*>()) {
                if (!widget->isVisible()) continue;
                const auto* button = qobject_cast<QAbstractButton*>(widget);
                const auto* label = qobject_cast<QLabel*>(widget);
                const bool caption =
                    (button && !button->text().isEmpty()) || (label && !label->text().isEmpty());
                if (!caption) continue;
                QVERIFY2(widget->width() >= widget->sizeHint().width() &&
                             widget->height() >= widget->minimumSizeHint().height(),
                         qPrintable(widget->objectName() + QLatin1Char(' ') + where +
                                    QStringLiteral(" %1x%2 < %3x%4")
                                        .arg(widget->width())
                                        .arg(widget->height())
                                        .arg(widget->sizeHint().width())
                                        .arg(widget->minimumSizeHint().height())));
            }
        }
    }
    QApplication::setFont(before);
}

// Answers every message box that opens while it lives with OK, keeping what it showed.
class MessageBoxCatcher
{
  public:
    struct Shown
    {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
    };

    MessageBoxCatcher()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            shown.push_back({box->windowTitle(), box->text(), box->icon(),
                             static_cast<int>(box->buttons().size())});
            box->button(QMessageBox::Ok)->click();
        });
        m_timer.start();
    }

    std::vector<Shown> shown;

  private:
    QTimer m_timer;
};

} // namespace tira::test
