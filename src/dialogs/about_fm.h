#pragma once

#include <QDialog>
#include <QPixmap>
#include <memory>

namespace Ui {
class TAboutBox;
}

namespace tira {

// The program's picture: a 100 × 124 calendar leaf, drawn rather than shipped.
QPixmap programPicture();

// ﾊﾞｰｼﾞｮﾝ情報: the about box with the program name and version of the main window.
class TAboutBox : public QDialog
{
    Q_OBJECT

  public:
    TAboutBox(const QString& programName, const QString& versionText, QWidget* parent);
    ~TAboutBox() override;
    TAboutBox(const TAboutBox&) = delete;
    TAboutBox& operator=(const TAboutBox&) = delete;
    TAboutBox(TAboutBox&&) = delete;
    TAboutBox& operator=(TAboutBox&&) = delete;

  private:
    std::unique_ptr<Ui::TAboutBox> m_ui;
};

} // namespace tira
