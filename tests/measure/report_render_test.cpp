// Renders a generated report in headless Chromium and checks the picture is not blank: the bars
// and points of both sets show in their colours. Exits 77 (skipped) when Chromium is missing.
// With a file argument the picture is also copied there (docs/screenshots/measure-report.png).

#include "measure/instance_measures.h"
#include "measure/measure_report.h"
#include "measure_fixtures.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <png.h>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace tavrin::measure;

constexpr int kSkipped = 77;

std::string findChromium() {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin";
    for (std::size_t start = 0; start <= dirs.size();) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const fs::path candidate = fs::path(dirs.substr(start, end - start)) / "chromium";
        if (fs::exists(candidate)) {
            return candidate.string();
        }
        start = end + 1;
    }
    return {};
}

struct Picture {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<png_byte> rgba;
};

bool readPng(const fs::path& path, Picture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    picture.width = image.width;
    picture.height = image.height;
    picture.rgba.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr) != 0;
}

std::size_t pixelsOf(const Picture& picture, unsigned rgb) {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 3 < picture.rgba.size(); i += 4) {
        const unsigned colour = unsigned(picture.rgba[i]) << 16 | unsigned(picture.rgba[i + 1]) << 8
                                | picture.rgba[i + 2];
        count += colour == rgb ? 1 : 0;
    }
    return count;
}

std::vector<ReportEntry> twoSets() {
    std::vector<ReportEntry> entries;
    for (const auto& [group, os] : {std::pair{"OS 0.3", 0.3}, std::pair{"OS 0.7", 0.7}}) {
        for (const auto& instance : fixtures::generatedInstances(30, os, 60)) {
            entries.push_back({group, measureInstance(instance)});
        }
    }
    return entries;
}

int fail(const std::string& message) {
    std::cerr << message << "\n0 passed, 1 failed\n";
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string chromium = findChromium();
    if (chromium.empty()) {
        std::cout << "chromium not found: skipped\n";
        return kSkipped;
    }
    const fixtures::ScratchDirectory dir;
    const fs::path page = dir.path() / "report.html";
    const fs::path shot = dir.path() / "report.png";
    {
        std::ofstream out(page);
        ReportOptions options;
        options.title = "Two generated sets, n = 30";
        options.scatterX = "NC";
        writeReport(twoSets(), options, out);
    }
    fs::create_directories(dir.path() / "profile");
    const std::string command =
        "timeout 120 '" + chromium
        + "' --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
          " --disable-background-networking --disable-component-update --disable-sync"
          " --hide-scrollbars --user-data-dir='"
        + (dir.path() / "profile").string() + "' --screenshot='" + shot.string()
        + "' --window-size=1200,1300 'file://" + page.string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 || !fs::exists(shot)) {
        return fail("chromium did not render " + page.string());
    }
    Picture picture;
    if (!readPng(shot, picture)) {
        return fail("cannot decode " + shot.string());
    }
    // The first two palette colours: the bars and points of the two sets.
    const std::size_t first = pixelsOf(picture, 0x1f77b4);
    const std::size_t second = pixelsOf(picture, 0xd62728);
    std::cout << picture.width << "x" << picture.height << ", " << first << " and " << second
              << " pixels in the two sets' colours\n";
    if (picture.width != 1200 || first < 500 || second < 500) {
        return fail("the rendered report looks blank");
    }
    if (argc > 1) {
        fs::copy_file(shot, argv[1], fs::copy_options::overwrite_existing);
    }
    std::cout << "1 passed, 0 failed\n";
    return 0;
}
