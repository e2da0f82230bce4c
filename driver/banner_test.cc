#include "driver/banner.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "test_support/banner_lines.h"

namespace {

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

TEST(BannerTest, IsTheGeneratorsOwn) { EXPECT_EQ(kBanner, bannerText()); }

TEST(BannerTest, FollowsTheFixedLayout) {
  const std::string text = bannerText();
  ASSERT_EQ('\n', text.back());
  const std::vector<std::string> l = lines(text);
  ASSERT_EQ(9u, l.size());
  EXPECT_EQ(std::string(72, '='), l[0]);
  EXPECT_EQ("Quarrion", l[1]);
  EXPECT_EQ("                       Zelkor Generator", l[2]);
  ASSERT_EQ(73u, l[3].size());
  EXPECT_EQ("Compiled: 9/17/2003", l[3].substr(54));
  EXPECT_EQ(' ', l[3][53]);
  EXPECT_NE(' ', l[3][0]);
  EXPECT_EQ("Version 1 Beta", l[4]);
  EXPECT_EQ(std::string(22, ' '), l[5].substr(0, 22));
  EXPECT_NE(' ', l[5][22]);
  ASSERT_GE(l[5].size(), 27u);
  EXPECT_EQ(",    ", l[5].substr(l[5].size() - 5));
  EXPECT_EQ(72u, l[6].size());
  EXPECT_EQ(' ', l[6][0]);
  EXPECT_NE(' ', l[6].back());
  EXPECT_EQ(std::string(72, '='), l[7]);
  EXPECT_EQ("", l[8]);
}

}  // namespace
