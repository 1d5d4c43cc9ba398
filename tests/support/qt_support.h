#pragma once

// Helpers for the window and dialog tests (header only: each Qt test is its own program).

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <memory>

namespace tira::test {

// Writes `text` to `path` with CR LF line ends, as the ini functions of Windows leave them.
inline bool writeTextFile(const QString& path, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QByteArray bytes = text.toUtf8();
    bytes.replace("\n", "\r\n");
    return file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// Runs `answer` on the next modal window of type T once it is shown (checked every 10 ms,
// for at most 5 s). `seen` (when given) becomes true when the answer ran.
template <class T>
void answerNextModal(std::function<void(T*)> answer, std::shared_ptr<bool> seen = nullptr)
{
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [answer, seen, tries, poll] {
        if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
            if (seen) *seen = true;
            answer(window);
            *poll = nullptr; // break the cycle
            return;
        }
        if (++*tries < 500)
            QTimer::singleShot(10, *poll);
        else
            *poll = nullptr;
    };
    QTimer::singleShot(0, *poll);
}

// What a notice showed.
struct Notice
{
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

// Records the next message box and presses its only button.
inline std::shared_ptr<Notice> answerNextNotice()
{
    auto notice = std::make_shared<Notice>();
    answerNextModal<QMessageBox>([notice](QMessageBox* box) {
        notice->shown = true;
        notice->title = box->windowTitle();
        notice->text = box->text();
        notice->icon = box->icon();
        notice->buttons = static_cast<int>(box->buttons().size());
        box->accept();
    });
    return notice;
}

} // namespace tira::test
