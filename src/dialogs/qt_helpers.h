#pragma once

#include "settings/settings.h"

// What the main window and the dialogs share: the program's names, the plain notice, the
// colour conversion and the font of the report. The window includes the dialogs, never the
// other way round, so these live on the dialogs' side.

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace tira {

inline constexpr const char* kProgramName = "TIRA";
inline constexpr const char* kVersionText = TIRA_VERSION;

// "TIRA  Version 0.1.0": the main window's caption at rest and the caption of every notice.
QString applicationTitle();

// A notice: no icon, one OK button, the application's title as caption. Modal.
void showPlainMessage(QWidget* parent, const QString& text);

// A Windows colour value (0x00BBGGRR) as a Qt colour, and back.
QColor toQColor(WinColour colour);
WinColour fromQColor(const QColor& colour);

// Gives `label` the text colour `wanted` where it reads on the label's background (a contrast
// of at least 3 : 1 with the palette's window colour, as for large or bold text), and the
// palette's own text colour where it does not, as under a dark desktop theme.
void setEmphasisColour(QWidget& label, const QColor& wanted);

// The style bits of the Font settings: 1 bold, 2 italic, 4 underline, 8 strike-out.
void applyFontStyle(QFont& font, std::int32_t style);
std::int32_t fontStyleBits(const QFont& font);

// The report pane's font from the Font settings: the named face (Japanese glyphs fall back
// to a monospaced CJK face where the face is missing), the point size, the style bits.
QFont reportFont(const Settings::FontKeys& keys);

// The face the dialogs use: "ＭＳ Ｐゴシック" or the closest proportional CJK face.
QFont dialogFont();

} // namespace tira
