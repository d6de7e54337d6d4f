// The GTK progress window on a real display (Xvfb in CI): a screenshot of the
// screen must show the captions (read back by OCR) and bars filled to their
// positions.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "host/progress.hpp"
#include "support/shell_command.hpp"
#include "support/temp_dir.hpp"

namespace orvdb::host {
namespace {

using test_support::haveCommand;
using test_support::runCommand;
using test_support::shellQuote;

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const { return &rgb[3 * (y * width + x)]; }
};

// A binary PPM (P6, maxval 255) as ImageMagick writes it.
Image readPpm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    Image image;
    in >> magic >> image.width >> image.height >> maxval;
    in.get();
    if (magic != "P6" || maxval != 255) {
        return {};
    }
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    in.read(reinterpret_cast<char*>(image.rgb.data()),
            static_cast<std::streamsize>(image.rgb.size()));
    return in ? image : Image{};
}

// The letters and digits of an OCR result, in lower case.
std::string squeezed(std::string text) {
    std::erase_if(text, [](unsigned char c) { return !std::isalnum(c); });
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return text;
}

TEST(GtkProgressTest, AScreenshotShowsTheCaptionsAndTheBarPositions) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no display (DISPLAY is unset; CI starts Xvfb)";
    }
    for (const char* tool : {"import", "tesseract", "convert"}) {
        if (!haveCommand(tool)) {
            GTEST_SKIP() << tool << " is not installed (imagemagick, tesseract-ocr)";
        }
    }
    std::string why;
    std::unique_ptr<ProgressWindow> window = makeGtkProgress(why);
    if (!window) {
        GTEST_SKIP() << why;
    }
    window->show();
    window->setTitle(0, "Tables done:");
    window->setMessage(0, "Article");
    window->setMax(0, 4);
    window->setPosition(0, 1);
    window->setTitle(1, "Rows of the table");
    window->setMax(1, 10);
    window->setPosition(1, 7);
    // Let GTK map and draw the window while the test holds the thread.
    for (int i = 0; i < 20; ++i) {
        window->step(5);  // an index that changes nothing but repaints
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }

    test::TempDir dir;
    const std::string shot = dir.path().string() + "/screen.ppm";
    ASSERT_TRUE(runCommand("timeout 20 import -silent -window root -depth 8 ppm:" +
                           shellQuote(shot) + " 2>/dev/null")
                    .has_value());
    window->finish();
    Image image = readPpm(shot);
    ASSERT_GT(image.width, 0) << "unreadable screenshot";

    // The window is the box of its face colour on the black screen.
    int left = image.width;
    int top = image.height;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const unsigned char* p = image.at(x, y);
            if (p[0] == 0xf0 && p[1] == 0xf0 && p[2] == 0xf0) {
                left = std::min(left, x);
                top = std::min(top, y);
            }
        }
    }
    ASSERT_LT(left, image.width) << "no window on the screen";

    // Green cells along the middle of each bar, against the expected share.
    auto filled = [&](int barTop) {
        int green = 0;
        const int y = top + barTop + 13;
        for (int x = left + 17; x < left + 17 + 367 && x < image.width; ++x) {
            const unsigned char* p = image.at(x, y);
            green += p[1] > 150 && p[0] < 60 && p[2] < 90;
        }
        return green / 367.0;
    };
    EXPECT_NEAR(filled(29), 0.25, 0.02);
    EXPECT_NEAR(filled(89), 0.70, 0.02);

    // Each caption, enlarged for the OCR.
    auto caption = [&](int captionTop) {
        const std::string crop = dir.path().string() + "/caption.png";
        std::string geometry =
            "380x18+" + std::to_string(left + 17) + "+" + std::to_string(top + captionTop);
        runCommand("convert " + shellQuote(shot) + " -crop " + geometry +
                   " -resize 400% -colorspace Gray " + shellQuote(crop));
        auto text =
            runCommand("timeout 30 tesseract " + shellQuote(crop) + " - --psm 7 2>/dev/null");
        return squeezed(text.value_or(""));
    };
    EXPECT_EQ(caption(8), "tablesdonearticle");
    EXPECT_EQ(caption(69), "rowsofthetable");
}

}  // namespace
}  // namespace orvdb::host
