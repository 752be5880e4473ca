#include "export/ExportSize.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(ExportSize, LongImagesGetWidth160OthersHeight40) {
  EXPECT_EQ(FitExportSize(400, 100), (TExportSize{160, 40}));  // exactly 4: width wins
  EXPECT_EQ(FitExportSize(64, 16), (TExportSize{160, 40}));
  EXPECT_EQ(FitExportSize(90, 80), (TExportSize{45, 40}));
  EXPECT_EQ(FitExportSize(1280, 100), (TExportSize{160, 12}));  // 12.5 -> 12, halves to even
  EXPECT_EQ(FitExportSize(0, 10), (TExportSize{160, 40}));
  EXPECT_EQ(FitExportSize(2, 1000), (TExportSize{1, 40}));   // a picture of a design with CnX 0
  EXPECT_EQ(FitExportSize(5000, 2), (TExportSize{160, 1}));
}

TEST(ExportSize, ARefitFollowsANewPictureSizeUnlessHeld) {
  TDimensions d{64, 16, 64, 16};
  RefitExportSize(d, 300, 100, false);
  EXPECT_EQ((std::vector<int>{d.Width, d.Height, d.BaseWidth, d.BaseHeight}), (std::vector<int>{120, 40, 300, 100}));
  d.Width = 77;  // the user's own size stays while the picture keeps its size
  RefitExportSize(d, 300, 100, false);
  EXPECT_EQ(d.Width, 77);
  RefitExportSize(d, 400, 100, true);  // held: never refitted
  EXPECT_EQ((std::vector<int>{d.Width, d.Height, d.BaseWidth}), (std::vector<int>{77, 40, 300}));
}

}  // namespace
}  // namespace qz
