// Kills a pupil's session at random moments and reads the results store back.
//
// A child process works through a fixed script on the fixture course (saves,
// first and second markings of every paper, an erase and its undo), telling
// the parent through a pipe after each action it has finished. The parent
// kills it with SIGKILL after a random delay, makes the next start, and
// compares the six results files with the states the same script leaves after
// each action when nothing goes wrong:
//   - the state after the last finished action, or after the one under way: whole;
//   - the state after an earlier action: answers or results lost;
//   - anything else: a mixed state.
// Not a test: it runs for minutes and prints its counts.
//   store_kill [KILLS] [SEED]      defaults: 1000 kills, seed 1

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "open_paper.h"
#include "paper_test_support.h"
#include "resources.h"
#include "results_store.h"
#include "startup.h"
#include "store_change.h"

namespace {

using Files = std::map<std::string, std::string>;

const ep::FolderResources& Resources() {
    static const ep::FolderResources resources{EP_FIXTURE_COURSE};
    return resources;
}

std::chrono::system_clock::time_point FixedNow() {
    static const auto now = std::chrono::system_clock::now();
    return now;
}

std::filesystem::path MakeFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ep-kill-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("store_kill: no temporary folder");
        std::exit(1);
    }
    return pattern;
}

Files Store(const std::filesystem::path& folder) {
    Files files;
    for (ep::ResultsFile file : ep::kResultsFiles) {
        const std::filesystem::path path = ep::ResultsFilePath(folder, file, 2, "FIX");
        std::ifstream in(path, std::ios::binary);
        if (in) files[path.filename().string()] = {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    return files;
}

struct Step {
    std::string kind;
    std::function<void(const std::filesystem::path&)> run;
};

void SaveAnswers(const std::filesystem::path& data, int key, ep::Attempt attempt, int round) {
    ep::OpenPaper paper = ep::OpenPaper::Load(Resources(), data, ep::test::FixtureRequest(key, attempt));
    for (int slot = 1; slot <= paper.SlotCount(); ++slot) {
        if (!paper.IsCarried(slot)) paper.SetAnswer(slot, std::to_string(key * 100 + slot * 7 + round));
    }
    paper.SaveAnswers();
}

void Mark(const std::filesystem::path& data, int key, ep::Attempt attempt) {
    ep::OpenPaper paper = ep::OpenPaper::Load(Resources(), data, ep::test::FixtureRequest(key, attempt));
    paper.Mark(std::chrono::seconds(key), "14/03/2026");
}

// The pupil's session: every paper answered, saved twice and marked, then
// retaken; halfway, everything erased and brought back.
std::vector<Step> Script() {
    std::vector<Step> steps;
    auto erased = std::make_shared<std::optional<ep::BackupSet>>();
    for (int key = 101; key <= 110; ++key) {
        steps.push_back({"save", [key](const auto& d) { SaveAnswers(d, key, ep::Attempt::kFirst, 1); }});
        steps.push_back({"save", [key](const auto& d) { SaveAnswers(d, key, ep::Attempt::kFirst, 2); }});
        steps.push_back({"first marking", [key](const auto& d) { Mark(d, key, ep::Attempt::kFirst); }});
        steps.push_back({"save", [key](const auto& d) { SaveAnswers(d, key, ep::Attempt::kSecond, 3); }});
        steps.push_back({"second marking", [key](const auto& d) { Mark(d, key, ep::Attempt::kSecond); }});
        if (key == 105) {
            steps.push_back({"erase", [erased](const auto& d) {
                                 int status = 0;
                                 ep::CourseDefinition course = ep::ReadCourseDefinition(Resources(), d, status);
                                 if (ep::CreateResultsFiles(Resources(), course, d, erased.get()) != 0) throw std::runtime_error("erase");
                             }});
            steps.push_back({"undo", [erased](const auto& d) { ep::RestoreBackupSet(d, "FIX", erased->value()); }});
        }
    }
    return steps;
}

}  // namespace

int main(int argc, char* argv[]) {
    const int kills = argc > 1 ? std::atoi(argv[1]) : 1000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1u;
    ep::SetBackupClock(&FixedNow);
    const std::vector<Step> script = Script();

    // The states the script leaves, action after action, and how long it takes.
    const std::filesystem::path reference = MakeFolder();
    ep::PrepareCourseData(Resources(), reference);
    std::vector<Files> states{Store(reference)};
    const auto start = std::chrono::steady_clock::now();
    for (const Step& step : script) {
        step.run(reference);
        states.push_back(Store(reference));
    }
    const auto length = std::chrono::steady_clock::now() - start;
    std::filesystem::remove_all(reference);
    std::printf("script: %zu actions in %.0f ms; %d kills, seed %u\n", script.size(),
                std::chrono::duration<double, std::milli>(length).count(), kills, seed);

    std::mt19937 random(seed);
    std::uniform_int_distribution<long long> delay(0, std::chrono::duration_cast<std::chrono::microseconds>(length).count());
    int whole = 0, mixed = 0, lost = 0, finished = 0;
    std::map<std::string, int> during;
    for (int n = 0; n < kills; ++n) {
        const std::filesystem::path data = MakeFolder();
        ep::PrepareCourseData(Resources(), data);
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) return 1;
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipeEnds[0]);
            for (std::size_t i = 0; i < script.size(); ++i) {
                script[i].run(data);
                const int done = static_cast<int>(i) + 1;
                if (::write(pipeEnds[1], &done, sizeof done) != sizeof done) ::_exit(2);
            }
            ::_exit(0);
        }
        ::close(pipeEnds[1]);
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        int completed = 0, value = 0;
        while (::read(pipeEnds[0], &value, sizeof value) == sizeof value) completed = value;
        ::close(pipeEnds[0]);
        if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "store_kill: the script failed (%d)\n", WEXITSTATUS(status));
            return 1;
        }

        ep::PrepareCourseData(Resources(), data);  // the next start
        const Files found = Store(data);
        const std::size_t c = static_cast<std::size_t>(completed);
        if (c == script.size()) ++finished;
        else ++during[script[c].kind];
        if (found == states[c] || (c < script.size() && found == states[c + 1])) {
            ++whole;
        } else {
            bool earlier = false;
            for (std::size_t j = 0; j < c && !earlier; ++j) earlier = found == states[j];
            ++(earlier ? lost : mixed);
            std::fprintf(stderr, "kill %d after %d actions: %s\n", n, completed, earlier ? "lost" : "mixed");
        }
        std::filesystem::remove_all(data);
    }
    std::printf("kills landing before or inside: ");
    for (const auto& [kind, count] : during) std::printf("%s %d, ", kind.c_str(), count);
    std::printf("after the whole script %d\n", finished);
    std::printf("%d kills: %d whole, %d mixed states, %d lost answers or results\n", kills, whole, mixed, lost);
    return mixed == 0 && lost == 0 ? 0 : 1;
}
