// The map page as a reader sees it: headless Chromium opens the page of a
// small known map and takes a screenshot, and the hexes' fill colours are
// read at their centres.
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "mappage/map_page.h"
#include "mappage/map_style.h"
#include "test_support/temp_dir.h"
#include "test_support/tool_runner.h"

namespace {

struct Rgb {
  int r, g, b;
};

// A screenshot's pixels, as 8-bit RGB.
class Screenshot {
 public:
  explicit Screenshot(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
      throw std::runtime_error("cannot read " + path + ": " + image.message);
    }
    image.format = PNG_FORMAT_RGB;
    pixels_.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels_.data(), 0, nullptr)) {
      throw std::runtime_error("cannot decode " + path + ": " + image.message);
    }
    width_ = static_cast<int>(image.width);
    height_ = static_cast<int>(image.height);
  }
  Rgb at(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width_ + x) * 3;
    return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
  }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  std::vector<unsigned char> pixels_;
  int width_ = 0;
  int height_ = 0;
};

// Runs headless Chromium on the page with extra arguments; returns what it
// printed on standard output.
ToolRun chromium(const ScopedTempDir& dir, const std::string& page,
                 std::vector<std::string> args) {
  ToolOptions options;
  options.program = "chromium";
  options.env = {"HOME=" + dir.path()};
  options.args = {"--headless", "--no-sandbox", "--disable-gpu",
                  "--hide-scrollbars",
                  "--user-data-dir=" + dir.file("profile")};
  options.args.insert(options.args.end(), args.begin(), args.end());
  options.args.push_back("file://" + page);
  return runTool(dir.path(), options);
}

MapHexRow hexRow(int id, int x, int y, const std::string& control,
                 const std::string& planet, const std::string& starbase) {
  return {std::to_string(id),
          std::to_string(x),
          std::to_string(y),
          control,
          "8192",
          planet,
          starbase,
          "1",
          "1",
          "2",
          "2",
          "1",
          "1",
          "",
          ""};
}

TEST(MapPageBrowserTest, HexesShowTheirPoliticalControlColours) {
  WebmapContent webmap;
  webmap.descriptions = {{"777777", "3", "2"}};
  const char* const kControls[] = {"0", "3", "6", "15", "8", "1"};
  // What a reader sees: empire 0 indigo, 3 green, 6 rose, no control pale
  // grey, 8 purple, 1 cyan (Paul Tol's muted scheme).
  const Rgb kExpected[] = {{0x33, 0x22, 0x88}, {0x11, 0x77, 0x33},
                           {0xCC, 0x66, 0x77}, {0xDD, 0xDD, 0xDD},
                           {0xAA, 0x44, 0x99}, {0x88, 0xCC, 0xEE}};
  for (int i = 0; i < 6; ++i) {
    webmap.hexes.push_back(hexRow(i, i % 3, i / 3, kControls[i],
                                  i == 1 ? "4" : "0", i == 2 ? "2" : "0"));
  }
  const MapPage page = renderMapPage(webmap);
  ScopedTempDir dir;
  const std::string path = dir.write("webmap.html", page.html);

  const ToolRun shot = chromium(
      dir, path,
      {"--window-size=480,360", "--screenshot=" + dir.file("shot.png")});
  ASSERT_EQ(0, shot.exitCode) << shot.err;
  const Screenshot screen(dir.file("shot.png"));
  ASSERT_EQ(480, screen.width());
  for (int i = 0; i < 6; ++i) {
    const Point centre = hexCentre(i % 3, i / 3);
    // Just above the centre: the terrain's number sits below it.
    const int x =
        static_cast<int>(std::lround(kMapLeft + page.origin.x + centre.x));
    const int y =
        static_cast<int>(std::lround(kMapTop + page.origin.y + centre.y - 2));
    const Rgb want = kExpected[i];
    const Rgb got = screen.at(x, y);
    EXPECT_NEAR(want.r, got.r, 4) << "hex " << i << " at " << x << "," << y;
    EXPECT_NEAR(want.g, got.g, 4) << "hex " << i << " at " << x << "," << y;
    EXPECT_NEAR(want.b, got.b, 4) << "hex " << i << " at " << x << "," << y;
  }

  // The page as the browser understood it: the heading, every hex, the
  // legend, and no warning.
  const ToolRun dom = chromium(dir, path, {"--dump-dom"});
  ASSERT_EQ(0, dom.exitCode) << dom.err;
  EXPECT_NE(std::string::npos,
            dom.out.find("<h1>Webmap: map of 3 columns x 2 rows, 6 hexes "
                         "drawn</h1>"))
      << dom.out;
  EXPECT_EQ(6u, occurrences(dom.out, "<use href=\"#h\""));
  EXPECT_NE(std::string::npos, dom.out.find("a planet (PlanetType not 0)"));
  EXPECT_NE(std::string::npos, dom.out.find("a starbase (StarbaseType not 0)"));
  EXPECT_EQ(std::string::npos, dom.out.find("class=\"warning\""));
}

}  // namespace
