#include "dialogs/fset_fm.h"

#include "dialogs/dialog_widgets.h"
#include "dialogs/qt_helpers.h"
#include "dialogs/standard_dialogs.h"
#include "text/paths.h"
#include "ui_fset_fm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tira {
namespace {

int selectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

QString qtPath(const std::string& path)
{
    return QString::fromStdString(path);
}

#ifdef _WIN32
QString windowsDirectory()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return QString();
    return QString::fromWCharArray(buffer, static_cast<int>(length));
}
#endif

// The program to start for `edit`: used as it is when it names a folder, otherwise looked
// up where the system keeps its programs. Empty when a bare name is found nowhere.
QString editorProgram(const std::string& edit)
{
#ifdef _WIN32
    const QString program = qtPath(edit);
    if (program.contains(u'\\') || program.contains(u'/') || program.contains(u':')) return program;
    return windowsDirectory() + u'\\' + program;
#else
    QString program = qtPath(fromFsPath(toFsPath(edit)));
    if (program.contains(u'/')) return program;
    return QStandardPaths::findExecutable(program);
#endif
}

constexpr QSize kClientSize(473, 394); // at the default font

const QStringList& tableFilters()
{
    static const QStringList filters{QStringLiteral("*.TBL (*.TBL)"), QStringLiteral("*.* (*)")};
    return filters;
}

} // namespace

std::array<std::uint8_t, 5> repairDisplayOrder(const std::array<std::uint8_t, 5>& order) noexcept
{
    std::array<std::uint8_t, 5> repaired{};
    std::array<bool, 6> used{};
    for (std::size_t slot = 0; slot < order.size(); ++slot) {
        const std::uint8_t section = order[slot];
        if (section >= 1 && section <= 5 && !used[section]) {
            repaired[slot] = section;
            used[section] = true;
        }
    }
    std::uint8_t next = 1;
    for (std::uint8_t& slot : repaired) {
        if (slot != 0) continue;
        while (used[next])
            ++next;
        slot = next;
        used[next] = true;
    }
    return repaired;
}

TFSetF::~TFSetF() = default;

TFSetF::TFSetF(Settings& settings, std::string home, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_home(std::move(home)),
      m_ui(std::make_unique<Ui::TFSetF>())
{
    m_ui->setupUi(this);

    // Per kind: page, order label, list, 追加, 削除, 上へ, 表示順あげる.
    const Ui::TFSetF& ui = *m_ui;
    const std::array<KindPage, kKindCount> pages{{
        {Kind::Birthday, ui.BTab, ui.BJyun, ui.Button9, ui.BF, ui.Button6, ui.Button7, ui.Button8},
        {Kind::Schedule, ui.STab, ui.SJyun, ui.Button17, ui.SF, ui.Button14, ui.Button15,
         ui.Button16},
        {Kind::Event, ui.ETab, ui.EJyun, ui.Button5, ui.EF, ui.Button2, ui.Button3, ui.Button4},
        {Kind::History, ui.HTab, ui.HJyun, ui.Button21, ui.HF, ui.Button18, ui.Button19,
         ui.Button20},
        {Kind::Week, ui.WTab, ui.WJyun, ui.Button13, ui.WF, ui.Button10, ui.Button11, ui.Button12},
    }};
    m_pages = pages;
    QFont arial(QStringLiteral("Arial"));
    arial.setBold(true);
    arial.setPointSize(12);
    for (KindPage& page : m_pages) {
        page.jyun->setFont(arial);
        page.jyun->setMinimumWidth(
            page.jyun->fontMetrics().horizontalAdvance(QStringLiteral("00")));
    }
    fitToContents(*this, kClientSize);

    for (KindPage& page : m_pages) {
        connect(page.add, &QPushButton::clicked, this, [this, &page] { addClick(page); });
        connect(page.remove, &QPushButton::clicked, this, [this, &page] { removeClick(page); });
        connect(page.moveUp, &QPushButton::clicked, this, [this, &page] { moveUpClick(page); });
        connect(page.raise, &QPushButton::clicked, this, [this, &page] { raiseClick(page); });
        page.list->viewport()->installEventFilter(this);
    }
    connect(m_ui->IncMNc, &QCheckBox::toggled, this, &TFSetF::IncMNcClick);
    connect(m_ui->IncMHc, &QCheckBox::toggled, this, &TFSetF::IncMHcClick);
    connect(m_ui->Button22, &QPushButton::clicked, this, &TFSetF::Button22Click);
    connect(m_ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
    for (QLineEdit* field : {m_ui->Syuku, m_ui->EveM, m_ui->HisM})
        field->installEventFilter(this);

    FormCreate();
}

void TFSetF::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_placed) return;
    m_placed = true;
    fitToContents(*this, kClientSize); // again, now that the style has polished every control
    centreOnScreen(*this);
}

void TFSetF::FormCreate()
{
    Settings& s = m_settings;
    m_ui->Syuku->setText(qtPath(s.Holiday));

    // Missing files are dropped: the count falls at once, and the paths vanish at close.
    for (KindPage& page : m_pages) {
        std::vector<std::string>& files = filesOf(page);
        for (std::string& path : files)
            completeProgramPath(path, m_home);
        std::erase_if(files, [](const std::string& path) { return !pathExists(path); });
        showFiles(page, -1);
    }
    m_ui->IncMNc->setChecked(s.IncME != 0);
    m_ui->EveM->setText(qtPath(s.EveMFile));
    m_ui->EYsen->setChecked(s.YsenE != 0);
    m_ui->IncMHc->setChecked(s.IncMH != 0);
    m_ui->HisM->setText(qtPath(s.HisMFile));
    m_ui->HYsen->setChecked(s.YsenH != 0);

    // An order from the file that is not a permutation would leave pages stacked on one
    // position; it is repaired first, so the pages and their labels always agree.
    const auto order = repairDisplayOrder(s.Jyun);
    for (int position = 0; position < 5; ++position) {
        KindPage& page =
            m_pages[static_cast<std::size_t>(order[static_cast<std::size_t>(position)] - 1)];
        movePage(page.tab, position);
        page.jyun->setText(QString::number(position + 1));
    }
    m_ui->PageControl1->setCurrentIndex(0);
}

void TFSetF::movePage(QWidget* page, int position)
{
    // Taken out and put back rather than QTabBar::moveTab, which leaves the shown page
    // behind when the current tab moves.
    const int from = m_ui->PageControl1->indexOf(page);
    if (from == position) return;
    QWidget* shown = m_ui->PageControl1->currentWidget();
    const QString caption = m_ui->PageControl1->tabText(from);
    m_ui->PageControl1->removeTab(from);
    m_ui->PageControl1->insertTab(position, page, caption);
    m_ui->PageControl1->setCurrentWidget(shown);
}

std::vector<std::string>& TFSetF::filesOf(const KindPage& page)
{
    return m_settings.filesOf(page.kind);
}

void TFSetF::showFiles(KindPage& page, int currentRow)
{
    page.list->clear();
    for (const std::string& path : filesOf(page))
        page.list->addItem(qtPath(path));
    page.list->setCurrentRow(currentRow);
    if (currentRow < 0) page.list->clearSelection();
}

void TFSetF::FormClose()
{
    Settings& s = m_settings;
    s.Holiday = m_ui->Syuku->text().toStdString();
    s.IncME = m_ui->IncMNc->isChecked() ? 1 : 0;
    s.EveMFile = m_ui->EveM->text().toStdString();
    s.YsenE = m_ui->EYsen->isChecked() ? 1 : 0;
    s.IncMH = m_ui->IncMHc->isChecked() ? 1 : 0;
    s.HisMFile = m_ui->HisM->text().toStdString();
    s.YsenH = m_ui->HYsen->isChecked() ? 1 : 0;

    for (int position = 0; position < 5; ++position)
        for (const KindPage& page : m_pages)
            if (m_ui->PageControl1->indexOf(page.tab) == position) {
                s.Jyun[static_cast<std::size_t>(position)] =
                    static_cast<std::uint8_t>(static_cast<int>(page.kind) + 1);
                break;
            }
}

void TFSetF::done(int result)
{
    if (m_editorRunning) return;
    FormClose();
    QDialog::done(result);
}

void TFSetF::closeEvent(QCloseEvent* event)
{
    if (m_editorRunning) { // the editor is still being waited for
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFSetF::addClick(KindPage& page)
{
    const int row = selectedRow(page.list);
    const QString selected = row < 0 ? QString() : page.list->item(row)->text();
    const QStringList chosen = StandardDialogs::chooseFiles(
        this, {QString(), tableFilters(), true, browseFolder(selected, qtPath(m_home))});
    std::vector<std::string>& files = filesOf(page);
    int refused = 0;
    for (const QString& path : chosen) {
        if (files.size() >= kMaxFilesPerKind) {
            ++refused;
            continue;
        }
        files.push_back(path.toStdString());
    }
    if (!chosen.isEmpty()) showFiles(page, row);
    if (refused > 0)
        showPlainMessage(this, QStringLiteral("登録できるファイルは1種類につき%1個までです。\n"
                                              "%2個のファイルは追加されませんでした。")
                                   .arg(kMaxFilesPerKind)
                                   .arg(refused));
}

void TFSetF::removeClick(KindPage& page)
{
    const int row = selectedRow(page.list);
    std::vector<std::string>& files = filesOf(page);
    if (row < 0 || static_cast<std::size_t>(row) >= files.size()) return;
    files.erase(files.begin() + row);
    showFiles(page, -1);
}

void TFSetF::moveUpClick(KindPage& page)
{
    const int row = selectedRow(page.list);
    std::vector<std::string>& files = filesOf(page);
    if (row <= 0 || static_cast<std::size_t>(row) >= files.size()) return;
    std::swap(files[static_cast<std::size_t>(row)], files[static_cast<std::size_t>(row - 1)]);
    showFiles(page, row - 1);
}

void TFSetF::raiseClick(KindPage& page)
{
    const int index = m_ui->PageControl1->indexOf(page.tab);
    if (index <= 0) return;
    movePage(page.tab, index - 1);
    for (const KindPage& each : m_pages)
        each.jyun->setText(QString::number(m_ui->PageControl1->indexOf(each.tab) + 1));
}

void TFSetF::listDblClick(KindPage& page)
{
    const int row = selectedRow(page.list);
    if (row < 0) return; // nothing to act on
    const QString path = page.list->item(row)->text();
    const Settings& s = m_settings;
    if (s.EditOk == 0 || s.Edit.empty()) {
        showPlainMessage(this, path);
        return;
    }
    runEditor(path);
}

void TFSetF::runEditor(const QString& path)
{
    const QString program = editorProgram(m_settings.Edit);
    if (program.isEmpty()) return;

    // The path is one argument of its own: no shell and no re-split command line. It is made
    // absolute, so that "-x.TBL" or "+!cmd" is never read as an option.
    std::error_code noCurrentFolder;
    const std::filesystem::path file = toFsPath(path.toStdString());
    const std::filesystem::path absolute = std::filesystem::absolute(file, noCurrentFolder);
    QProcess editor;
    editor.setProgram(program);
    editor.setArguments({qtPath(fromFsPath(noCurrentFolder ? file : absolute))});
    editor.setStandardInputFile(QProcess::nullDevice());
    editor.setStandardOutputFile(QProcess::nullDevice());
    editor.setStandardErrorFile(QProcess::nullDevice());
#ifdef _WIN32
    editor.setWorkingDirectory(windowsDirectory());
#endif

    QEventLoop wait;
    connect(&editor, &QProcess::finished, &wait, &QEventLoop::quit);
    connect(&editor, &QProcess::errorOccurred, &wait, [&wait](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) wait.quit();
    });
    setEnabled(false);
    m_editorRunning = true;
    editor.start();
    if (editor.state() != QProcess::NotRunning) wait.exec();
    m_editorRunning = false;
    setEnabled(true);
}

void TFSetF::IncMNcClick()
{
    enableUnder(*m_ui->EYsen, m_ui->IncMNc->isChecked());
}

void TFSetF::IncMHcClick()
{
    enableUnder(*m_ui->HYsen, m_ui->IncMHc->isChecked());
}

void TFSetF::Button22Click()
{
    const QStringList chosen = StandardDialogs::chooseFiles(
        this, {QString(), tableFilters(), true, browseFolder(m_ui->Syuku->text(), qtPath(m_home))});
    if (!chosen.isEmpty()) m_ui->Syuku->setText(chosen.first());
}

void TFSetF::showField(const QLineEdit* field)
{
    showPlainMessage(this, field->text());
}

TFSetF::KindPage* TFSetF::pageOfList(const QObject* viewport)
{
    for (KindPage& page : m_pages)
        if (page.list->viewport() == viewport) return &page;
    return nullptr;
}

bool TFSetF::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (KindPage* page = pageOfList(watched)) {
            listDblClick(*page);
            return true;
        }
        for (const QLineEdit* field : {m_ui->Syuku, m_ui->EveM, m_ui->HisM})
            if (watched == field) {
                showField(field);
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tira
