#include "dialogs/about_fm.h"

#include "dialogs/dialog_widgets.h"
#include "dialogs/qt_helpers.h"
#include "ui_about_fm.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace tira {

QPixmap programPicture()
{
    QPixmap picture(100, 124);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // a tear-off calendar leaf: red band with rings, white page, today's mark
    painter.setPen(QPen(QColor(64, 64, 64), 2));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(6, 14, 88, 104), 6, 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 30, 30));
    painter.drawRect(QRectF(7, 15, 86, 26));
    painter.setBrush(QColor(90, 90, 90));
    for (const int x : {24, 50, 76})
        painter.drawRoundedRect(QRectF(x - 3, 4, 6, 20), 3, 3);
    painter.setPen(Qt::white);
    QFont band(QStringLiteral("Arial"));
    band.setPixelSize(16);
    band.setBold(true);
    painter.setFont(band);
    painter.drawText(QRectF(7, 15, 86, 26), Qt::AlignCenter, QStringLiteral("TIRA"));
    painter.setPen(QColor(0, 128, 128));
    QFont day(QStringLiteral("Arial"));
    day.setPixelSize(48);
    day.setBold(true);
    painter.setFont(day);
    painter.drawText(QRectF(7, 44, 86, 70), Qt::AlignCenter, QStringLiteral("1"));
    return picture;
}

namespace {

void emphasise(QLabel* label, QColor colour)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(20);
    font.setBold(true);
    label->setFont(font);
    setEmphasisColour(*label, colour);
}

} // namespace

TAboutBox::~TAboutBox() = default;

TAboutBox::TAboutBox(const QString& programName, const QString& versionText, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TAboutBox>())
{
    setFont(dialogFont());
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_ui->ProgramIcon->setPixmap(programPicture());
    m_ui->ProductNameValue->setText(programName);
    m_ui->VersionValue->setText(versionText);
    emphasise(m_ui->ProductNameValue, QColor(255, 0, 0));
    emphasise(m_ui->VersionValue, QColor(0, 128, 128));
    connect(m_ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    fitToContents(*this, QSize(261, 206));
}

} // namespace tira
