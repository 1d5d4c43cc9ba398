#pragma once

#include <QDialog>
#include <QPixmap>

namespace tira {

// The program's picture: a 100 × 124 calendar leaf, drawn rather than shipped.
QPixmap programPicture();

// ﾊﾞｰｼﾞｮﾝ情報: the about box with the program name and version of the main window.
class TAboutBox : public QDialog
{
    Q_OBJECT

  public:
    TAboutBox(const QString& programName, const QString& versionText, QWidget* parent);
};

} // namespace tira
