#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/RunCli.h"
#include "export/ExportSize.h"
#include "scene/WorkFile.h"
#include "support/TempDir.h"

namespace qz {
namespace {

using test::RunCli;

std::string WriteWork(const std::string& name, const std::string& text) {
  test::WriteText(test::OutputPath(name), text);
  return test::OutputPath(name);
}

const char* const Sample =
    "[General]\r\nVersion=1.3.5\r\n[Message]\r\nNLetters=2\r\nTexW=2.5\r\n"
    "[Button]\r\nMColor=0xFF00\r\n[Light]\r\na2=0.3\r\n"
    "[Letter 1]\r\nChar=Q\r\nName=Times New Roman\r\nSize=24\r\n[Letter 2]\r\nChar= \r\n";

TEST(CliInfo, PrintsTheLinesASaveWouldWriteInOrder) {
  const auto r = RunCli({"info", WriteWork("info-sample.qznr", Sample)});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("General.Version=1.3.5\nGeneral.FileID=$010300FF\nGeneral.ExpWidth=", 0), 0u);
  for (const char* line : {"\nMessage.NLetters=2\n", "\nMessage.TexW=2.5\n", "\nButton.MColor=65280\n",
                           "\nLight.a2=0.300000011920929\n", "\nLetter 1.Char=Q\n",
                           "\nLetter 1.Name=Times New Roman\n", "\nLetter 1.Size=24\n", "\nLetter 2.Char= \n"})
    EXPECT_NE(r.out.find(line), std::string::npos) << line;
  EXPECT_LT(r.out.find("Message.Altitude="), r.out.find("Button.Type="));
  EXPECT_LT(r.out.find("Render.CnZ="), r.out.find("Light.X="));
  EXPECT_LT(r.out.find("Light.Color="), r.out.find("Letter 1.Char="));
  // The work stores no export size: it has the one its picture fits, as a save writes.
  auto value = [&](const std::string& key) {
    const size_t at = r.out.find("\n" + key + "=");
    return at == std::string::npos ? -1 : std::stoi(r.out.substr(at + key.size() + 2));
  };
  const TExportSize fitted = FitExportSize(value("ImageWidth"), value("ImageHeight"));
  EXPECT_EQ((TExportSize{value("General.ExpWidth"), value("General.ExpHeight")}), fitted);
}

// Output that cannot be written is a failure, not a success with nothing printed.
TEST(CliInfo, AFullStandardOutputFails) {
  for (std::vector<std::string> args : {std::vector<std::string>{"info", WriteWork("info-full.qznr", Sample)}, {"fonts"}}) {
    const auto r = test::RunCliAt(QZ_CLI, args, "", "exec 1>/dev/full;");
    EXPECT_EQ(r.status, 1) << args[0];
    EXPECT_NE(r.err.find("Cannot write to standard output"), std::string::npos) << r.err;
  }
}

TEST(CliInfo, UsageErrorsExitWithTwo) {
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {}, {"frobnicate"}, {"info"}, {"info", "a", "b"}, {"info", "x.qznr", "--bogus"}, {"info", "x", "--text"}}) {
    auto r = RunCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage"), std::string::npos);
  }
}

// Asked for, the usage and the version go to standard output and the tool exits with 0.
TEST(CliInfo, HelpAndVersionOnStandardOutput) {
  for (const char* help : {"--help", "-h"}) {
    const auto r = RunCli({help});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.empty()) << r.err;
    for (const char* name :
         {"usage:", " export ", " render ", " info ", " save ", " fonts", "--preview-page", "exit status"})
      EXPECT_NE(r.out.find(name), std::string::npos) << name;
  }
  const auto r = RunCli({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.starts_with("quenzar-cli 1.") && r.out.ends_with("\nwork file version " + std::string(WorkFileVersion) + "\n"))
      << r.out;
  EXPECT_EQ(RunCli({"--help", "export"}).status, 2);  // not alone: a usage error
}

}  // namespace
}  // namespace qz
