#include "skin_files.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>
#include <system_error>

#include "file_io.h"

namespace ep {
namespace {

constexpr std::array<SkinFile, 92> kSkinFiles{{
    {1, "about_off.bmp"},
    {2, "about_on.bmp"},
    {3, "about_pressed.bmp"},
    {4, "back_disabled.bmp"},
    {5, "back_off.bmp"},
    {6, "back_on.bmp"},
    {7, "back_pressed.bmp"},
    {8, "close_off.bmp"},
    {9, "close_on.bmp"},
    {10, "close_pressed.bmp"},
    {11, "forward_disabled.bmp"},
    {12, "forward_off.bmp"},
    {13, "forward_on.bmp"},
    {14, "forward_pressed.bmp"},
    {15, "home_off.bmp"},
    {16, "home_on.bmp"},
    {17, "home_pressed.bmp"},
    {18, "mark_disabled.bmp"},
    {19, "mark_off.bmp"},
    {20, "mark_on.bmp"},
    {21, "mark_pressed.bmp"},
    {22, "print_off.bmp"},
    {23, "print_on.bmp"},
    {24, "print_pressed.bmp"},
    {25, "report_off.bmp"},
    {26, "report_on.bmp"},
    {27, "report_pressed.bmp"},
    {28, "save_disabled.bmp"},
    {29, "save_off.bmp"},
    {30, "save_on.bmp"},
    {31, "save_pressed.bmp"},
    {32, "setup_off.bmp"},
    {33, "setup_on.bmp"},
    {34, "setup_pressed.bmp"},
    {35, "trash_off.bmp"},
    {36, "trash_on.bmp"},
    {37, "trash_pressed.bmp"},
    {41, "tabs_back_off.bmp"},
    {42, "tabs_back_on.bmp"},
    {43, "tabs_front_off.bmp"},
    {44, "tabs_front_on.bmp"},
    {45, "border_bot.bmp"},
    {46, "border_left.bmp"},
    {47, "border_left_corners.bmp"},
    {48, "border_right.bmp"},
    {49, "border_right_corners.bmp"},
    {50, "border_top_center.bmp"},
    {51, "border_top_left.bmp"},
    {52, "border_top_right.bmp"},
    {53, "border_white_top_center.bmp"},
    {54, "border_white_top_left.bmp"},
    {55, "border_white_top_right.bmp"},
    {56, "prog_blue_close.bmp"},
    {57, "prog_blue_max.bmp"},
    {58, "prog_blue_min.bmp"},
    {59, "prog_blue_norm.bmp"},
    {60, "prog_blueoff_close.bmp"},
    {61, "prog_blueoff_max.bmp"},
    {62, "prog_blueoff_min.bmp"},
    {63, "prog_blueoff_norm.bmp"},
    {64, "prog_white_close.bmp"},
    {65, "prog_white_max.bmp"},
    {66, "prog_white_min.bmp"},
    {67, "prog_white_norm.bmp"},
    {68, "loadbutton_on.bmp"},
    {69, "loadbutton_off.bmp"},
    {70, "button_off.bmp"},
    {71, "button_on.bmp"},
    {72, "button_pressed.bmp"},
    {73, "status_strip1.bmp"},
    {74, "status_strip2.bmp"},
    {75, "status_strip3.bmp"},
    {76, "status_strip4.bmp"},
    {77, "columnhead1.bmp"},
    {78, "columnhead2.bmp"},
    {79, "progressbar.bmp"},
    {80, "statusgrabber.bmp"},
    {81, "bullet.bmp"},
    {82, "Handle.bmp"},
    {83, "pen.bmp"},
    {84, "bar.bmp"},
    {85, "MWicon.ico"},
    {86, "pencil.ico"},
    {87, "hand.ico"},
    {88, "info_mark.gif"},
    {89, "Logo.gif"},
    {90, "instruction.gif"},
    {91, "Border_bot_left.gif"},
    {92, "Border_bot_right.gif"},
    // The Report page's "Report card" button.
    {93, "reportcard_off.bmp"},
    {94, "reportcard_on.bmp"},
    {95, "reportcard_pressed.bmp"},
}};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

}  // namespace

std::span<const SkinFile> SkinFiles() { return kSkinFiles; }

std::string_view CanonicalSkinName(std::string_view name) {
    for (const SkinFile& file : kSkinFiles) {
        if (SameIgnoringCase(file.name, name)) return file.name;
    }
    return name;
}

int ExtractSkinGraphics(const ResourceSource& resources, const std::filesystem::path& dataFolder) noexcept {
    int failed = 0;
    try {
        const std::filesystem::path folder = dataFolder / kGraphicsFolder;
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        std::string current;
        for (const SkinFile& file : kSkinFiles) {
            const std::filesystem::path target = folder / file.name;
            // A file that already holds the resource's bytes is left as it is:
            // the same outcome as rewriting it, at a fraction of the cost.
            std::optional<std::string> bytes = resources.Load(file.id, kCustomType);
            if (bytes && !ReadWholeFile(target, current) && current == *bytes) continue;
            if (ExtractResource(resources, file.id, kCustomType, target, Durability::kCache) != 0) ++failed;
        }
    } catch (...) {
        // Building a path ran out of memory: count everything as not written.
        return static_cast<int>(kSkinFiles.size());
    }
    return failed;
}

}  // namespace ep
