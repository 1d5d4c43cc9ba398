// Times the window with a long report: a home whose birthday table holds N entries of the
// report date, from the window's creation to its first paint of the whole report. Run it
// on a real display server (Xvfb: `make bench-window`); it prints one line per run.
//
//   tira_window_bench [N] [RUNS]
#include "report/clock.h"
#include "shell/main_fm.h"
#include "text/cp932.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    QTemporaryDir home;
    std::string table;
    for (int i = 0; i < entries; ++i)
        table += "1990/5/12 x 山田_太郎" + std::to_string(i) + "\r\n";
    const std::string bytes = tira::utf8ToCp932(table);
    QFile file(home.filePath(QStringLiteral("BIRTH.TBL")));
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.close();
    QFile ini(home.filePath(QStringLiteral("TIRA.ini")));
    if (!ini.open(QIODevice::WriteOnly)) return 1;
    ini.write(QStringLiteral("[Common]\r\nAutoEnd=30\r\n[Birthday]\r\nCount=1\r\nFile0=%1\r\n")
                  .arg(file.fileName())
                  .toUtf8());
    ini.close();

    const tira::FixedClock clock(tira::ClockReading{2024, 5, 12, 9, 0});
    std::vector<qint64> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        tira::TMainF window(home.path(), clock);
        QApplication::processEvents(); // the window's own paint after the report
        const qint64 ms = timer.elapsed();
        times.push_back(ms);
        std::printf("report of %d lines in the window: %lld ms, %d paints\n",
                    window.pane().lineCount(), static_cast<long long>(ms),
                    window.pane().paintCount());
    }
    std::sort(times.begin(), times.end());
    std::printf("median %lld ms over %d runs\n", static_cast<long long>(times[times.size() / 2]),
                runs);
    return 0;
}
