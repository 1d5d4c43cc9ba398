#pragma once

#include "report/report_pane.h"

#include <string>
#include <vector>

namespace tira {

// A report pane and window that keep what the report wrote, for the print mode and tests.
class RecordingPane : public ReportPane, public ReportWindow
{
  public:
    struct Line
    {
        std::string text;
        WinColour colour = 0;
    };

    void clear() override { lines.clear(); }
    void resetAttributes() override { m_current = m_default; }
    void setDefaultColour(WinColour colour) override { m_default = colour; }
    void setColour(WinColour colour) override { m_current = colour; }
    void appendLine(std::string_view utf8) override
    {
        lines.push_back({std::string(utf8), m_current});
    }
    void repaint() override {}

    void setBackground(WinColour colour) override { m_background = colour; }
    WinColour background() const override { return m_background; }
    void setPaneBackground(WinColour colour) override { paneBackground = colour; }
    void playSound(const std::string& path) override { sounds.push_back(path); }

    std::vector<Line> lines;
    std::vector<std::string> sounds;
    WinColour paneBackground = 0;

  private:
    WinColour m_default = 0;
    WinColour m_current = 0;
    WinColour m_background = 0;
};

} // namespace tira
