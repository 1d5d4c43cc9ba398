#pragma once

#include "settings/settings.h"

#include <string>
#include <string_view>

namespace tira {

// Where a report goes. None of these can fail.
class ReportPane
{
  public:
    virtual ~ReportPane() = default;
    virtual void clear() = 0;
    virtual void resetAttributes() = 0;                  // back to the default text attributes
    virtual void setDefaultColour(WinColour colour) = 0; // colour of the default attributes
    virtual void setColour(WinColour colour) = 0;        // colour of the current attributes
    virtual void appendLine(std::string_view utf8) = 0;
    virtual void repaint() = 0;
};

// The window around the pane: its frame colour, the pane background and the alert sound.
class ReportWindow
{
  public:
    virtual ~ReportWindow() = default;
    virtual void setBackground(WinColour colour) = 0;
    virtual WinColour background() const = 0;
    virtual void setPaneBackground(WinColour colour) = 0;
    // Starts playing a WAV file and returns at once; failures are ignored.
    virtual void playSound(const std::string& path) = 0;
};

} // namespace tira
