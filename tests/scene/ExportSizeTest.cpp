#include "scene/ExportSize.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(ExportSize, LongImagesGetWidth160OthersHeight40) {
  EXPECT_EQ(FitExportSize(400, 100), (TExportSize{160, 40}));  // exactly 4: width wins
  EXPECT_EQ(FitExportSize(64, 16), (TExportSize{160, 40}));
  EXPECT_EQ(FitExportSize(90, 80), (TExportSize{45, 40}));
  EXPECT_EQ(FitExportSize(1280, 100), (TExportSize{160, 12}));  // 12.5 -> 12, halves to even
  EXPECT_EQ(FitExportSize(0, 10), (TExportSize{160, 40}));
}

}  // namespace
}  // namespace qz
