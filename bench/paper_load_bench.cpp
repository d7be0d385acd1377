// Loading one open paper's data as a paper window does: the four catalogue
// resources of a 50-slot paper extracted and read in turn, its four per-paper
// results lines, and the marks file.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

#include "course.h"
#include "open_paper.h"
#include "results_store.h"

namespace {

// Resources held in memory, as the ones compiled into the program are.
class MemoryResources : public ep::ResourceSource {
public:
    explicit MemoryResources(const std::filesystem::path& folder) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::string name = entry.path().filename().string();
            if (name.find_first_not_of("0123456789") != std::string::npos) continue;
            bytes_[std::stoi(name)] = {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        }
    }
    std::optional<std::string> Load(int id, std::string_view type) const override {
        auto it = bytes_.find(id);
        if (type != ep::kCustomType || it == bytes_.end()) return std::nullopt;
        return it->second;
    }

private:
    std::map<int, std::string> bytes_;
};

// A fresh folder for the results files; empty when none can be made.
std::filesystem::path MakeDataFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ep-bench-XXXXXX").string();
    return mkdtemp(pattern.data()) ? std::filesystem::path(pattern) : std::filesystem::path();
}

void BM_LoadOpenPaper(benchmark::State& state) {
    MemoryResources resources(EP_FIXTURE_COURSE);
    const std::filesystem::path data = MakeDataFolder();
    if (data.empty()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    int status = 0;
    ep::CourseDefinition course = ep::ReadCourseDefinition(resources, data, status);
    ep::CreateResultsFiles(resources, course, data);
    const int papers = course.Module(2).paperCount;
    const int paperKey = 105;  // 30 questions, 50 slots

    for (auto _ : state) {
        ep::PaperCatalogue paper = ep::LoadPaperCatalogue(resources, data, 2, std::to_string(paperKey));
        for (ep::ResultsFile file : {ep::ResultsFile::kFirst, ep::ResultsFile::kSecond,
                                     ep::ResultsFile::kFirstResults, ep::ResultsFile::kSecondResults}) {
            auto line = ep::ReadPaperLine(ep::ResultsFilePath(data, file, 2, course.code), papers, paperKey,
                                          paper.slotCount);
            benchmark::DoNotOptimize(line);
        }
        auto marks = ep::ReadMarksLists(ep::ResultsFilePath(data, ep::ResultsFile::kMarks, 2, course.code), papers);
        benchmark::DoNotOptimize(marks);
        benchmark::DoNotOptimize(paper);
    }
    std::filesystem::remove_all(data);
}
BENCHMARK(BM_LoadOpenPaper)->Unit(benchmark::kMillisecond);

// Marking a 50-slot first attempt without the animation: judging every slot
// and recording the results line, the marks file and the trend line.
void BM_MarkPaper(benchmark::State& state) {
    MemoryResources resources(EP_FIXTURE_COURSE);
    const std::filesystem::path data = MakeDataFolder();
    if (data.empty()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    int status = 0;
    ep::CourseDefinition course = ep::ReadCourseDefinition(resources, data, status);
    ep::PaperRequest request;
    request.module = 2;
    request.courseCode = course.code;
    request.paperCount = course.Module(2).paperCount;
    request.paperKey = 105;
    request.topicName = "Whole Numbers";
    for (auto _ : state) {
        state.PauseTiming();
        ep::CreateResultsFiles(resources, course, data);
        ep::OpenPaper paper = ep::OpenPaper::Load(resources, data, request);
        for (int slot = 1; slot <= paper.SlotCount(); ++slot) {
            paper.SetAnswer(slot, slot % 3 ? paper.catalogue().answerKey[static_cast<std::size_t>(slot)] : "1");
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(paper.Mark(std::chrono::seconds(600), "06/12/2026"));
    }
    std::filesystem::remove_all(data);
}
BENCHMARK(BM_MarkPaper)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
