#pragma once

#include "settings/settings.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class TFSetF;
}

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tira {

// A display order made a permutation of 1..5: every slot holding a section number not seen in
// an earlier slot keeps it; the other slots take the missing numbers in ascending order.
std::array<std::uint8_t, 5> repairDisplayOrder(const std::array<std::uint8_t, 5>& order) noexcept;

// ﾌｧｲﾙの設定: the data-file settings dialog. It edits the file list of every kind, the
// display order (the order of the five kind pages), the monthly files and the holiday file
// of `settings`. The file lists are edited in the settings themselves, so counts change at
// every add and delete (the lists on the pages show them); everything else is copied back
// whenever the dialog closes, by "Ok" or by the close box. `home` completes ".\" paths and
// is where the file choices start.
class TFSetF : public QDialog
{
    Q_OBJECT
  public:
    TFSetF(Settings& settings, std::string home, QWidget* parent = nullptr);
    ~TFSetF() override;
    TFSetF(const TFSetF&) = delete;
    TFSetF& operator=(const TFSetF&) = delete;
    TFSetF(TFSetF&&) = delete;
    TFSetF& operator=(TFSetF&&) = delete;

    void done(int result) override; // every close copies out first

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // One kind's page, e.g. birthdays: BTab, BJyun, BF, 追加 Button6, 削除 Button7,
    // 上へ Button8, 表示順あげる Button9, double click BFDblClick.
    struct KindPage
    {
        Kind kind = Kind::Birthday;
        QWidget* tab = nullptr;
        QLabel* jyun = nullptr;        // order label
        QPushButton* raise = nullptr;  // 表示順あげる
        QListWidget* list = nullptr;   // the file paths
        QPushButton* add = nullptr;    // 追加
        QPushButton* remove = nullptr; // 削除
        QPushButton* moveUp = nullptr; // 上へ
    };

    void FormCreate(); // copy in
    void FormClose();  // copy out
    // The kind's file list in the settings, and the page showing it with `currentRow`.
    std::vector<std::string>& filesOf(const KindPage& page);
    void showFiles(KindPage& page, int currentRow);

    void addClick(KindPage& page);
    void removeClick(KindPage& page);
    void moveUpClick(KindPage& page);
    void raiseClick(KindPage& page);
    void listDblClick(KindPage& page);
    void IncMNcClick();
    void IncMHcClick();
    void Button22Click(); // holiday file browse
    void showField(const QLineEdit* field);

    // Starts the editor on `path` and keeps the dialog disabled, events still flowing, until
    // it has ended. A program that cannot be started ends the wait at once, silently.
    void runEditor(const QString& path);

    KindPage* pageOfList(const QObject* viewport);
    void movePage(QWidget* page, int position); // the shown page stays shown

    Settings& m_settings;
    std::string m_home;
    std::unique_ptr<Ui::TFSetF> m_ui;         // the controls as the Designer file describes them
    std::array<KindPage, kKindCount> m_pages; // by kind
    bool m_editorRunning = false;
    bool m_placed = false;
};

} // namespace tira
