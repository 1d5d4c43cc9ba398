#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace tira {

// A font together with the text colour chosen beside it.
struct FontChoice
{
    QFont font;
    QColor colour;
};

// What a file-open dialog is asked for.
struct FileRequest
{
    QString title;       // empty: the system's default title
    QStringList filters; // Qt name filters, the first one selected
    bool multiple = false;
    QString folder; // where the dialog opens
};

// Where a file dialog opens: the folder of `file` when that folder exists, else `home` (never
// the working directory, which for a program started from the desktop is anywhere).
QString browseFolder(const QString& file, const QString& home);

// The colour, font and file dialogs, behind one seam: a test sets
// the answer of the next dialog instead of a user answering it.
class StandardDialogs
{
  public:
    using ColourAnswer = std::function<std::optional<QColor>(const QColor& initial)>;
    using FontAnswer = std::function<std::optional<FontChoice>(const FontChoice& initial)>;
    using FilesAnswer = std::function<QStringList(const FileRequest& request)>;

    // The chosen colour, or nothing when cancelled.
    static std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial);
    // The chosen font and colour, or nothing when cancelled.
    static std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial);
    // The chosen existing files with native separators; empty when cancelled.
    static QStringList chooseFiles(QWidget* parent, const FileRequest& request);

    // The next call of the matching function returns what `answer` returns (once).
    static void answerNextColour(ColourAnswer answer);
    static void answerNextFont(FontAnswer answer);
    static void answerNextFiles(FilesAnswer answer);
};

} // namespace tira
