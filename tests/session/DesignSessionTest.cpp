// The design session as the two front ends use it: the designer loads, edits, rebuilds,
// previews and saves; the command-line tool loads, replaces the text, builds and exports.
#include "session/DesignSession.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/Numeric.h"
#include "geometry/ButShape.h"
#include "image/formats/BmpWriter.h"
#include "scene/IconRecord.h"
#include "scene/WorkFile.h"
#include "session/WorkIcon.h"
#include "support/HostileInput.h"
#include "support/MessageCollector.h"
#include "support/TempDir.h"

namespace qz {
namespace {

struct Session : ::testing::Test {
  Session() {
    std::filesystem::create_directories(dir.File("Textures"));
    WriteBmp24(dir.File("Textures/wood.bmp"), TBitmap(8, 8));
  }
  // A work of the message on a rounded button, the light from a1, a2, its texture
  // named by its bare name.
  std::string WriteWork(const std::string& name, const std::string& message, float a1 = 0.5f) {
    TParams p;
    p.A1 = a1;
    p.Button.TexFile = "wood.bmp";
    TMessageText text;
    text.Append(message, TCharFormat{});
    SaveWorkFile(dir.File(name), p, text);
    return dir.File(name);
  }
  test::TTempDir dir;
  test::TMessageCollector messages;
  test::TProgressLog progress;
  TDesignSession session{dir.Path(), messages, progress};
};

TEST_F(Session, LoadFollowsTheLightFindsNamesWithoutCaseAndItsTextures) {
  WriteWork("Default.dat", "Go", 1.2f);
  ASSERT_TRUE(session.Load(dir.File("default.dat")));  // the factory design, named in another case
  EXPECT_EQ(session.Text().Text(), "Go");
  TParams expected;
  expected.A1 = 1.2f;
  expected.SetLightAngles(1.2f, expected.A2);
  EXPECT_EQ(session.Params().Light.X, expected.Light.X);
  EXPECT_EQ(session.Params().ButShadowX, expected.ButShadowX);
  // The textures are loaded with the design; the path found is the one it names.
  EXPECT_TRUE(session.Textured(TPart::Button));
  EXPECT_EQ(session.Params().Button.TexFile, dir.File("Textures/wood.bmp"));
  EXPECT_FALSE(session.Unsaved());
  const TEditResult cleared = session.ClearTexture(TPart::Button);
  EXPECT_TRUE(cleared.Changed && cleared.Unsaved);
  EXPECT_EQ(cleared.Follow, TFollowUp::Render);
  EXPECT_FALSE(session.ClearTexture(TPart::Button).Changed);
  EXPECT_TRUE(session.Params().Button.TexFile.empty());
  // A refused file changes nothing.
  test::WriteText(dir.File("old.qznr"), "[General]\nVersion=1.3.4\n");
  EXPECT_FALSE(session.Load(dir.File("old.qznr")));
  EXPECT_EQ(messages.Texts, std::vector<std::string>{"Invalid file version: 1.3.4"});
  EXPECT_EQ(session.Text().Text(), "Go");
  EXPECT_TRUE(session.Unsaved());
}

// A work opens as saved; a template or a factory design begins a new design, shaped.
TEST_F(Session, OpenBeginsNewDesignsFromTemplatesAndFactoryDesignsOnly) {
  for (const char* name : {"w.qznr", "t.qzpl", "T.QZPL", "default.dat", "Default.DAT"}) {
    ASSERT_TRUE(session.Open(WriteWork(name, "Go"))) << name;
    const bool begun = std::string(name) != "w.qznr";
    EXPECT_EQ(session.Params().Shaping, begun) << name;
    EXPECT_FALSE(session.Unsaved()) << name;
  }
}

TEST_F(Session, NothingToBuildGivesTheBackgroundAlone) {
  ASSERT_TRUE(session.Load(WriteWork("w.qznr", "Go")));
  ASSERT_TRUE(session.Rebuild());
  EXPECT_EQ(session.Built().View.BodyCount(), 3);
  // A heading of blanks: what the last build made is gone, the picture is background.
  session.ReplaceMessage(U"   ");
  EXPECT_EQ(session.HideButton(true).Follow, TFollowUp::Rebuild);
  EXPECT_EQ(session.SetBackground(RGBToColor(1, 2, 3)).Follow, TFollowUp::Render);
  EXPECT_TRUE(session.NothingToBuild());
  EXPECT_FALSE(session.Rebuild());
  EXPECT_EQ(session.Built().View.BodyCount(), 0);
  EXPECT_EQ(session.Built().Letters.Count(), 0);
  const TPicture& p = session.Picture();
  EXPECT_EQ((std::vector<int>{p.Image.Width(), p.Image.Height(), p.Mask.Width()}), (std::vector<int>{16, 16, 16}));
  EXPECT_EQ(p.Image.Pixel(3, 3), RGBToPixel(1, 2, 3));
  EXPECT_EQ(p.Mask.Pixel(3, 3), 0u);
  // Blanks on a button are built; an empty message never is.
  session.HideButton(false);
  EXPECT_EQ(session.Params().Type, TButtonType::Rounded);
  EXPECT_FALSE(session.NothingToBuild());
  session.ReplaceMessage(U"");
  EXPECT_TRUE(session.NothingToBuild());
}

// A work's stored size is its export size: the first build only takes note of the
// picture; a later picture of another size refits it, unless the size is held.
TEST_F(Session, TheStoredExportSizeHoldsUntilThePictureChanges) {
  TParams p;
  p.ExpWidth = 120, p.ExpHeight = 70;
  TMessageText go;
  go.Append("Go", TCharFormat{});
  SaveWorkFile(dir.File("sized.qznr"), p, go);
  ASSERT_TRUE(session.Load(dir.File("sized.qznr")));
  EXPECT_EQ(session.ExportSize(), (TExportSize{120, 70}));
  ASSERT_TRUE(session.Rebuild());
  EXPECT_EQ(session.ExportSize(), (TExportSize{120, 70}));
  const TBitmap& image = session.Picture().Image;
  EXPECT_EQ(session.Dimensions().BaseWidth, image.Width());
  session.SetBrightness(100);  // the same picture size: the size stays
  session.Rebuild();
  EXPECT_EQ(session.ExportSize(), (TExportSize{120, 70}));
  EXPECT_TRUE(session.Unsaved());

  const TEditResult typed = session.ReplaceMessage(U"Gone away");
  EXPECT_EQ(typed.Follow, TFollowUp::Rebuild);
  session.Rebuild();
  EXPECT_EQ(session.ExportSize(), session.FittedExportSize());
  // Undone, the picture and the size the user had come back.
  ASSERT_TRUE(session.Undo());
  session.Rebuild();
  EXPECT_EQ(session.ExportSize(), (TExportSize{120, 70}));

  // The user's size marks the design unsaved and is one step per side and burst.
  ASSERT_TRUE(session.Load(dir.File("sized.qznr")));
  session.Rebuild();
  const TEditResult wider = session.SetExportSize(TSide::Width, 240, true);
  EXPECT_TRUE(wider.Changed && wider.Unsaved);
  EXPECT_EQ(wider.Follow, TFollowUp::None);
  EXPECT_EQ(session.ExportSize().width, 240);
  // The height follows in the picture's proportions.
  EXPECT_EQ(session.ExportSize().height, RoundHalfEven(240.0L * image.Height() / image.Width()));
  session.SetExportSize(TSide::Width, 1000, false);  // clamped, the height left alone
  EXPECT_EQ(session.ExportSize().width, MaxDimWidth);
  ASSERT_TRUE(session.Undo());
  EXPECT_EQ(session.ExportSize(), (TExportSize{120, 70}));
  EXPECT_FALSE(session.Unsaved());

  // A held design keeps its size whatever its picture.
  session.SetHoldButtonSize(true);
  session.ReplaceMessage(U"A much longer message");
  session.Rebuild();
  EXPECT_EQ(session.ExportSize(), (TExportSize{120, 70}));
  EXPECT_EQ(session.SetHoldButtonSize(false).Follow, TFollowUp::Rebuild);
  session.Rebuild();
  EXPECT_EQ(session.ExportSize(), session.FittedExportSize());
}

// The designer: rebuild, preview, save with the icon, which is made from the design's
// own render: the same whatever the window showed.
TEST_F(Session, TheDesignersRoundPreviewsAndSavesTheSameIconWhateverThePreview) {
  ASSERT_TRUE(session.Load(WriteWork("w.qznr", "Go")));
  ASSERT_TRUE(session.Rebuild());

  progress.Events.clear();
  const TBitmap& preview = session.ScalePreview(400, 300, true);
  EXPECT_EQ(preview.Width(), 200);  // half the width, as ViewSize 50 asks
  EXPECT_EQ(progress.Events, (std::vector<std::string>{"80", " Stretching preview ...", "*", "95",
                                                       " Displaying preview ...", "*"}));

  session.SetExportSize(TSide::Width, 99, false);
  EXPECT_TRUE(session.Save(dir.File("saved.qznr")));
  EXPECT_FALSE(session.Unsaved());
  session.ScalePreview(900, 700, true);
  EXPECT_TRUE(session.Save(dir.File("again.qznr")));
  EXPECT_EQ(test::ReadText(dir.File("saved.qznr")), test::ReadText(dir.File("again.qznr")));
  TParams back;
  TMessageText text;
  ASSERT_TRUE(LoadWorkFile(dir.File("saved.qznr"), back, text, messages));
  EXPECT_EQ(back.ExpWidth, 99);
  TBitmap icon;
  ASSERT_TRUE(LoadIconFromIni(dir.File("saved.qznr"), "Icon", icon));
  EXPECT_EQ(icon.Width(), IconWidth);
  // An empty message saves no icon.
  session.ReplaceMessage(U"");
  EXPECT_FALSE(session.Save(dir.File("empty.qznr")));
  EXPECT_FALSE(LoadIconFromIni(dir.File("empty.qznr"), "Icon", icon));
  EXPECT_TRUE(messages.Texts.empty());
}

// The command line: another text on the same design, exported.
TEST_F(Session, TheCommandLinesRoundExportsTheRenderWithItsMask) {
  ASSERT_TRUE(session.Load(WriteWork("w.qznr", "Go")));
  session.Rebuild();
  session.ReplaceMessage(U"Shop");
  ASSERT_TRUE(session.Rebuild());
  EXPECT_EQ(session.Built().Letters.Count(), 4);
  const TBitmap plain = session.Picture().Image;
  const std::optional<TRenderedButton> button = session.RenderForExport();
  ASSERT_TRUE(button.has_value());
  // The copies are the picture, with a mask that is black where nothing is drawn; the
  // session's own picture is left as it was.
  EXPECT_EQ(button->Image, plain);
  EXPECT_EQ(button->Mask.Pixel(0, 0), 0u);
  EXPECT_EQ(button->Mask.Pixel(plain.Width() / 2, plain.Height() / 2), 0xFFFFFFu);
  EXPECT_EQ(session.Picture().Image, plain);
  const std::string out = dir.File("shop.png");
  TExportOptions options;
  options.Format = TExportFormat::Png;
  options.BrowserPreview = false;
  EXPECT_GT(session.Export(*button, {80, 30}, options, out, ""), 0u);
  EXPECT_TRUE(std::filesystem::exists(out));
  // The picture for the clipboard: the PNG's, at the export size with true alpha, so
  // the same whatever the design's background; opaque inside the button, where it is
  // the export's own colour.
  session.SetExportSize(TSide::Width, 80, false);
  session.SetExportSize(TSide::Height, 30, false);
  const std::optional<TUnmixed> copy = session.ExportPicture();
  ASSERT_TRUE(copy.has_value());
  EXPECT_EQ(copy->Color.Width(), 80);
  EXPECT_EQ(copy->Alpha.Pixel(0, 0), 0u);
  EXPECT_EQ(copy->Alpha.Pixel(40, 15), 0xFFFFFFu);
  EXPECT_EQ(copy->Color.Pixel(40, 15), ScaleExportImage(button->Image, 80, 30).Pixel(40, 15));
  session.SetBackground(0x2040C0);
  const std::optional<TUnmixed> onBlue = session.ExportPicture();
  ASSERT_TRUE(onBlue.has_value());
  EXPECT_EQ(onBlue->Alpha, copy->Alpha);
  EXPECT_EQ(onBlue->Color.Pixel(40, 15), copy->Color.Pixel(40, 15));

  session.ReplaceMessage(U"");
  EXPECT_FALSE(session.RenderForExport().has_value());
  EXPECT_EQ(messages.Texts, std::vector<std::string>{"Sorry, there is nothing to export"});
}

// A shape file whose points lie far outside its frame makes the picture too large:
// the refusal names the shape, not the camera.
TEST_F(Session, APictureMadeTooLargeByItsShapeNamesTheShape) {
  std::filesystem::create_directories(dir.File("BShapes"));
  TButShape far;
  far.PointCount = 3;
  far.Points[1] = {1, -10, 0}, far.Points[2] = {1, 3000000, 10}, far.Points[3] = {1, 10, -10};
  far.Frame = {-10, 10, 10, -10};
  far.SaveToFile(dir.File("BShapes/far.qzkh"));
  session.ChooseShape("far.qzkh");
  session.ReplaceMessage(U"Go");
  const std::string error = test::ErrorOf([&] { session.Rebuild(); });
  EXPECT_NE(error.find("The picture would be"), std::string::npos) << error;
  EXPECT_NE(error.find("The shape file far.qzkh is the cause"), std::string::npos) << error;
  // A design too large by its camera is told about the camera.
  TParams wide = session.Params();
  wide.Type = TButtonType::Rectangle;
  wide.CnX = 1e9f;
  session.SetOptions(wide);
  EXPECT_NE(test::ErrorOf([&] { session.Rebuild(); }).find("Check the camera distance"), std::string::npos);
}

// Installed: the factory folder is read, the user's own texture and shape win over
// factory files of the same name, and the export's page and settings go to the user's
// folders, which are made when missing.
TEST(InstalledSession, UsersFilesWinAndThePageGoesToTheUsersFolders) {
  test::TTempDir dir;
  const std::string factory = dir.File("share/quenzar/"), user = dir.File("data/quenzar/");
  for (const std::string& folder : {factory + "Textures", factory + "BShapes", factory + "html", user + "Textures",
                                    user + "BShapes"})
    std::filesystem::create_directories(folder);
  WriteBmp24(factory + "Textures/wood.bmp", TBitmap(8, 8));
  WriteBmp24(user + "Textures/Wood.bmp", TBitmap(4, 4));
  TButShape shape;
  shape.PointCount = 3;
  shape.Points[1] = {1, -10, -10}, shape.Points[2] = {1, 10, -10}, shape.Points[3] = {1, 0, 10};
  shape.Frame = {-10, 10, 10, -10};
  shape.SaveToFile(user + "BShapes/tri.qzkh");
  shape.PointCount = 2;
  shape.SaveToFile(factory + "BShapes/TRI.qzkh");
  test::WriteText(factory + "html/preview.tml", "<img src=\"`ImageFileName`\">");
  TXdgDirs xdg{dir.File("home/"), dir.File("config/"), dir.File("data/"), dir.File("cache/"), dir.File("pictures/")};
  const TFolders folders = TFolders::InstalledAt(factory, xdg);

  test::TMessageCollector messages;
  TNullProgressSink progress;
  TDesignSession session(folders, messages, progress);
  TMessageText go;
  go.Append("Go", TCharFormat{});
  TParams p;
  p.Button.TexFile = "WOOD.BMP";
  p.Type = TButtonType::ShapeFile;
  p.ShapeName = "Tri.qzkh";
  session.Start(p, go);
  EXPECT_EQ(session.Params().Button.TexFile, user + "Textures/Wood.bmp");
  ASSERT_TRUE(session.Rebuild());
  EXPECT_EQ(session.Built().Shape.PointCount, 3);
  std::filesystem::remove(user + "BShapes/tri.qzkh");
  ASSERT_TRUE(session.Rebuild());
  EXPECT_EQ(session.Built().Shape.PointCount, 2);  // the factory's, once the user's is gone

  TExportOptions png;
  png.Format = TExportFormat::Png;
  session.Export(*session.RenderForExport(), {160, 40}, png, dir.File("Go.png"), "");
  EXPECT_EQ(test::ReadText(dir.File("cache/quenzar/preview.html")), "<img src=\"Go.png\">\r\n");
  EXPECT_NE(test::ReadText(dir.File("config/quenzar/Buttons.dat")).find("ImageFileName=Go.png"), std::string::npos);
  EXPECT_EQ(test::FileNames(factory), (std::set<std::string>{"Textures", "BShapes", "html"}));
  EXPECT_EQ(test::FileNames(factory + "html"), std::set<std::string>{"preview.tml"});
  EXPECT_TRUE(messages.Texts.empty());
}

TEST(WorkIcon, WantedOnlyForAPictureAndASizeOfTwoOrMore) {
  EXPECT_TRUE(IconWanted(TBitmap(2, 2), 2, 2));
  EXPECT_FALSE(IconWanted(TBitmap(1, 5), 160, 40));
  EXPECT_FALSE(IconWanted(TBitmap(50, 50), 160, 1));
  TBitmap preview(30, 10);
  preview.Fill(RGBToPixel(10, 200, 30));
  const TBitmap icon = MakeIcon(preview);
  EXPECT_EQ((std::vector<int>{icon.Width(), icon.Height()}), (std::vector<int>{IconWidth, IconHeight}));
  EXPECT_NEAR(PixelGreen(icon.Pixel(60, 20)), 200, 3);  // the filter's rounding moves a level or two
}

}  // namespace
}  // namespace qz
