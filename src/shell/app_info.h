#pragma once

#include "settings/settings.h"

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

// A Windows colour value (0x00BBGGRR) as a Qt colour.
QColor toQColor(WinColour colour);

// The report pane's font from the Font settings: the named face (Japanese glyphs fall back
// to a monospaced CJK face where the face is missing), the point size, the style bits.
QFont reportFont(const Settings::FontKeys& keys);

// The face the dialogs use: "ＭＳ Ｐゴシック" or the closest proportional CJK face.
QFont dialogFont();

} // namespace tira
