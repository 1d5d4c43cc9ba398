// Micro-benchmarks of the per-line work of a report: decoding, splitting, parsing.
#include "tables/event_line.h"
#include "tables/fields.h"
#include "tables/history_line.h"
#include "tables/jikukai.h"
#include "text/cp932.h"
#include "text/table_reader.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace tira;

// Typical lines, as UTF-8 after decoding.
const std::string kBirthday = "+7 1990/5/12 x 山田_太郎 友人 S red";
const std::string kSchedule = "+3 2024/5/20 *本社 会議 S";
const std::string kWeekly = "4/6 4/15 春の全国交通安全運動";
const std::string kHoliday = "11 3 文化の日";
const std::string kEvent = "+3 <<25 0 0 0 &red 給料日";
const std::string kHistory = "1900/5/1 B 1980/7/2 山田_太郎";
const std::string kQuoted = R"(2024/5/20 "a ""quoted"" text, with blanks" B)";

void setBytes(benchmark::State& state, std::size_t perIteration)
{
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(perIteration));
}

void BM_SplitFields(benchmark::State& state)
{
    FieldList fields;
    for (auto _ : state) {
        fields.split(kBirthday);
        benchmark::DoNotOptimize(fields.size());
    }
    setBytes(state, kBirthday.size());
}
BENCHMARK(BM_SplitFields);

void BM_SplitQuoted(benchmark::State& state)
{
    FieldList fields;
    for (auto _ : state) {
        fields.split(kQuoted);
        benchmark::DoNotOptimize(fields.size());
    }
}
BENCHMARK(BM_SplitQuoted);

void BM_DecodeAscii(benchmark::State& state)
{
    const std::string line = utf8ToCp932("+7 1990/5/12 x Yamada_Taro friend S red");
    for (auto _ : state)
        benchmark::DoNotOptimize(cp932ToUtf8(line));
    setBytes(state, line.size());
}
BENCHMARK(BM_DecodeAscii);

void BM_DecodeJapanese(benchmark::State& state)
{
    const std::string line = utf8ToCp932("+7 1990/5/12 x 山田_太郎 表彰式の予定 十能ソ申");
    for (auto _ : state)
        benchmark::DoNotOptimize(cp932ToUtf8(line));
    setBytes(state, line.size());
}
BENCHMARK(BM_DecodeJapanese);

// A line through its parser, as decoded text and as the Shift-JIS bytes the report reads.
template <auto Parse> void parseLine(benchmark::State& state, const std::string& text)
{
    const std::string bytes = utf8ToCp932(text);
    const std::string& line = state.range(0) == 0 ? text : bytes;
    const LineEncoding encoding = state.range(0) == 0 ? LineEncoding::Text : LineEncoding::Cp932;
    FieldList fields;
    for (auto _ : state) {
        fields.start(line);
        benchmark::DoNotOptimize(Parse(fields, encoding).verdict.value);
    }
}

void BM_TanLine(benchmark::State& state)
{
    parseLine<TanLine>(state, kBirthday);
}
BENCHMARK(BM_TanLine)->Arg(0)->Arg(1);

void BM_SkeLine(benchmark::State& state)
{
    parseLine<SkeLine>(state, kSchedule);
}
BENCHMARK(BM_SkeLine)->Arg(0)->Arg(1);

void BM_WekLine(benchmark::State& state)
{
    parseLine<WekLine>(state, kWeekly);
}
BENCHMARK(BM_WekLine)->Arg(0)->Arg(1);

void BM_HolLine(benchmark::State& state)
{
    parseLine<HolLine>(state, kHoliday);
}
BENCHMARK(BM_HolLine)->Arg(0)->Arg(1);

void BM_EveLine(benchmark::State& state)
{
    parseLine<EveLine>(state, kEvent);
}
BENCHMARK(BM_EveLine)->Arg(0)->Arg(1);

void BM_HisLine(benchmark::State& state)
{
    parseLine<HisLine>(state, kHistory);
}
BENCHMARK(BM_HisLine)->Arg(0)->Arg(1);

void BM_CommaList(benchmark::State& state)
{
    const std::string line = "+3 <<5,10,15,20,25 0 0 0 支払い";
    for (auto _ : state)
        expandCommaList(line, [](std::string_view one) { benchmark::DoNotOptimize(one.data()); });
}
BENCHMARK(BM_CommaList);

// A whole file through the line reader: 100,000 birthday lines, Shift-JIS, CR LF.
void BM_TableReader(benchmark::State& state)
{
    const auto path = std::filesystem::temp_directory_path() /
                      ("tira-bench-" + std::to_string(::getpid()) + ".TBL");
    std::string bytes;
    const std::string line = utf8ToCp932(kBirthday) + "\r\n";
    for (int i = 0; i < 100000; ++i)
        bytes += line;
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    std::string text;
    for (auto _ : state) {
        TableReader reader(path.string());
        std::string_view raw;
        while (reader.nextBytes(raw)) { // as the file's bytes, and decoded for range 0
            if (state.range(0) == 0) {
                text.clear();
                appendText(text, raw, reader.lineEncoding());
            }
            benchmark::DoNotOptimize(raw.data());
        }
    }
    setBytes(state, bytes.size());
    std::filesystem::remove(path);
}
BENCHMARK(BM_TableReader)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
