#include "dialogs/standard_dialogs.h"

#include "text/paths.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>
#include <array>
#include <utility>

namespace tira {
namespace {

// The answers a test queues for the next standard dialog.
// NOLINTBEGIN(cppcoreguidelines-avoid-non-const-global-variables)
StandardDialogs::ColourAnswer g_nextColour;
StandardDialogs::FontAnswer g_nextFont;
StandardDialogs::FilesAnswer g_nextFiles;
// NOLINTEND(cppcoreguidelines-avoid-non-const-global-variables)

// Takes a queued answer, leaving the seam empty for the call after.
template <class Answer> Answer takeAnswer(Answer& slot)
{
    Answer answer;
    std::swap(answer, slot);
    return answer;
}

struct NamedColour
{
    const char* name;
    QRgb rgb;
};

// The sixteen colours a font dialog traditionally offers beside the font.
constexpr std::array<NamedColour, 16> kTextColours{{
    {"黒", 0x000000},
    {"マルーン", 0x800000},
    {"緑", 0x008000},
    {"オリーブ", 0x808000},
    {"ネイビー", 0x000080},
    {"紫", 0x800080},
    {"ティール", 0x008080},
    {"灰色", 0x808080},
    {"シルバー", 0xC0C0C0},
    {"赤", 0xFF0000},
    {"ライム", 0x00FF00},
    {"黄", 0xFFFF00},
    {"青", 0x0000FF},
    {"フクシア", 0xFF00FF},
    {"水色", 0x00FFFF},
    {"白", 0xFFFFFF},
}};

QIcon colourIcon(const QColor& colour)
{
    QPixmap pixmap(24, 14);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// The font dialog with a text colour box below it.
class FontColourDialog : public QDialog
{
  public:
    FontColourDialog(const FontChoice& initial, QWidget* parent)
        : QDialog(parent), m_fonts(new QFontDialog(initial.font, this)),
          m_colours(new QComboBox(this))
    {
        setWindowTitle(QStringLiteral("フォント"));
        m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
        m_fonts->setWindowFlags(Qt::Widget);
        m_fonts->setSizeGripEnabled(false);

        int selected = -1;
        for (const NamedColour& entry : kTextColours) {
            const QColor colour(entry.rgb);
            m_colours->addItem(colourIcon(colour), QString::fromUtf8(entry.name), colour);
            if (colour.rgb() == initial.colour.rgb()) selected = m_colours->count() - 1;
        }
        if (selected < 0) { // a colour of its own stays on offer
            m_colours->addItem(colourIcon(initial.colour), QStringLiteral("カスタム"),
                               initial.colour);
            selected = m_colours->count() - 1;
        }
        m_colours->setCurrentIndex(selected);

        auto* colourLabel = new QLabel(QStringLiteral("色(&C):"), this);
        colourLabel->setBuddy(m_colours);
        auto* colourRow = new QHBoxLayout;
        colourRow->addWidget(colourLabel);
        colourRow->addWidget(m_colours);
        colourRow->addStretch();

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_fonts);
        layout->addLayout(colourRow);
        layout->addWidget(buttons);
    }

    [[nodiscard]] FontChoice choice() const
    {
        return {m_fonts->currentFont(), m_colours->currentData().value<QColor>()};
    }

  private:
    QFontDialog* m_fonts;
    QComboBox* m_colours;
};

} // namespace

QString browseFolder(const QString& file, const QString& home)
{
    if (!file.isEmpty()) {
        // a path written on Windows (backslashes) names the same folder here
        const QFileInfo info(QString::fromStdString(fromFsPath(toFsPath(file.toStdString()))));
        if (info.dir().exists() && info.path() != QStringLiteral(".")) return info.absolutePath();
    }
    return home;
}

std::optional<QColor> StandardDialogs::chooseColour(QWidget* parent, const QColor& initial)
{
    if (auto answer = takeAnswer(g_nextColour)) return answer(initial);
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

std::optional<FontChoice> StandardDialogs::chooseFont(QWidget* parent, const FontChoice& initial)
{
    if (auto answer = takeAnswer(g_nextFont)) return answer(initial);
    FontColourDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.choice();
}

QStringList StandardDialogs::chooseFiles(QWidget* parent, const FileRequest& request)
{
    if (auto answer = takeAnswer(g_nextFiles)) return answer(request);
    const QString filter = request.filters.join(QStringLiteral(";;"));
    QStringList chosen;
    if (request.multiple) {
        chosen = QFileDialog::getOpenFileNames(parent, request.title, request.folder, filter);
    } else {
        const QString one =
            QFileDialog::getOpenFileName(parent, request.title, request.folder, filter);
        if (!one.isEmpty()) chosen.append(one);
    }
    for (QString& path : chosen)
        path = QDir::toNativeSeparators(path);
    return chosen;
}

void StandardDialogs::answerNextColour(ColourAnswer answer)
{
    g_nextColour = std::move(answer);
}
void StandardDialogs::answerNextFont(FontAnswer answer)
{
    g_nextFont = std::move(answer);
}
void StandardDialogs::answerNextFiles(FilesAnswer answer)
{
    g_nextFiles = std::move(answer);
}

} // namespace tira
