#include "dialogs/qt_helpers.h"

#include <QMessageBox>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace tira {

namespace {

// Windows faces first (their Japanese and Latin names), then the common free CJK faces.
// Built at first use: a list made before main() could fail where nothing can catch it.
const QStringList& monospaceFallbacks()
{
    static const QStringList fallbacks{QStringLiteral("ＭＳ ゴシック"),
                                       QStringLiteral("MS Gothic"),
                                       QStringLiteral("Noto Sans Mono CJK JP"),
                                       QStringLiteral("Source Han Code JP"),
                                       QStringLiteral("IPAGothic"),
                                       QStringLiteral("TakaoGothic"),
                                       QStringLiteral("VL Gothic"),
                                       QStringLiteral("Noto Sans CJK JP")};
    return fallbacks;
}

const QStringList& proportionalFallbacks()
{
    static const QStringList fallbacks{
        QStringLiteral("ＭＳ Ｐゴシック"),  QStringLiteral("MS PGothic"),
        QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Source Han Sans JP"),
        QStringLiteral("IPAPGothic"),       QStringLiteral("TakaoPGothic"),
        QStringLiteral("VL PGothic")};
    return fallbacks;
}

constexpr int kMaxPointSize = 400; // a hand-edited size must not make the pane unusable

} // namespace

QString applicationTitle()
{
    return QString::fromUtf8(kProgramName) + QStringLiteral("  Version ") +
           QString::fromUtf8(kVersionText);
}

void showPlainMessage(QWidget* parent, const QString& text)
{
    // Not the display name: Qt would append that to every window title.
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

QColor toQColor(WinColour colour)
{
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                  static_cast<int>((colour >> 16) & 0xFFu));
}

WinColour fromQColor(const QColor& colour)
{
    return static_cast<WinColour>(colour.red()) | (static_cast<WinColour>(colour.green()) << 8) |
           (static_cast<WinColour>(colour.blue()) << 16);
}

namespace {

// Relative luminance and contrast ratio as the WCAG define them.
double luminance(const QColor& colour)
{
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double contrast(const QColor& one, const QColor& other)
{
    const double a = luminance(one);
    const double b = luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

} // namespace

void setEmphasisColour(QWidget& label, const QColor& wanted)
{
    QPalette palette = label.palette();
    const QColor background = palette.color(QPalette::Window);
    if (contrast(wanted, background) >= 3.0) palette.setColor(QPalette::WindowText, wanted);
    label.setPalette(palette);
}

QFont reportFont(const Settings::FontKeys& keys)
{
    QFont font;
    QStringList families{QString::fromStdString(keys.Name)};
    families.append(monospaceFallbacks());
    families.removeDuplicates();
    font.setFamilies(families);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(std::clamp(keys.Size, 1, kMaxPointSize));
    applyFontStyle(font, keys.Style);
    return font;
}

void applyFontStyle(QFont& font, std::int32_t style)
{
    font.setBold((style & 1) != 0);
    font.setItalic((style & 2) != 0);
    font.setUnderline((style & 4) != 0);
    font.setStrikeOut((style & 8) != 0);
}

std::int32_t fontStyleBits(const QFont& font)
{
    return (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) |
           (font.strikeOut() ? 8 : 0);
}

QFont dialogFont()
{
    QFont font;
    font.setFamilies(proportionalFallbacks());
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace tira
