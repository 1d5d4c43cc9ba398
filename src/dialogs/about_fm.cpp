#include "dialogs/about_fm.h"

#include "dialogs/qt_helpers.h"

#include <QFrame>
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

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

void emphasise(QLabel* label, QColor colour)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(20);
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

TAboutBox::TAboutBox(const QString& programName, const QString& versionText, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setFont(dialogFont());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(261, 206);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, 8, 245, 152);

    auto* icon = addLabel(panel, "ProgramIcon", QString(), QRect(8, 14, 100, 124));
    icon->setPixmap(programPicture());

    addLabel(panel, "ProductName", QStringLiteral("Product Name"), QRect(116, 8, 124, 16));
    emphasise(addLabel(panel, "ProductNameValue", programName, QRect(128, 24, 112, 24)),
              QColor(255, 0, 0));
    addLabel(panel, "Version", QStringLiteral("Version"), QRect(116, 52, 124, 16));
    emphasise(addLabel(panel, "VersionValue", versionText, QRect(128, 68, 112, 24)),
              QColor(0, 128, 128));
    addLabel(panel, "Comments", QStringLiteral("Comments"), QRect(116, 96, 124, 16));
    auto* comment = addLabel(panel, "CommentsValue", QStringLiteral("日々のお知らせ帳"),
                             QRect(128, 112, 112, 32));
    comment->setWordWrap(true);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(90, 170, 80, 28);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace tira
