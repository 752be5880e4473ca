// Undo and redo of a design: the history's steps, merging and clean point, and the
// session restoring what a step held (textures included).
#include "session/DesignHistory.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "image/formats/BmpWriter.h"
#include "session/DesignSession.h"
#include "support/MessageCollector.h"
#include "support/TempDir.h"

namespace qz {
namespace {

TDesignState WithExtrusion(int32_t txtY) {
  TDesignState s;
  s.Params.TxtY = txtY;
  return s;
}

int32_t Shown(const TDesignState* s) { return s ? s->Params.TxtY : -1; }

TEST(DesignHistory, BurstsMergeIntoOneStepUndoneAndRedone) {
  TDesignHistory h;
  h.Reset(WithExtrusion(30));
  EXPECT_FALSE(h.Record(WithExtrusion(30), 1));  // nothing changed: no step
  for (int32_t v : {40, 50, 60}) EXPECT_TRUE(h.Record(WithExtrusion(v), 1));  // one drag
  h.Seal();                                          // the user paused
  h.Record(WithExtrusion(70), 1);
  h.Record(WithExtrusion(80), 2);                    // another control: its own step
  EXPECT_EQ(h.UndoSteps(), 3u);
  EXPECT_EQ(Shown(h.Undo()), 70);
  EXPECT_EQ(Shown(h.Undo()), 60);
  EXPECT_EQ(Shown(h.Undo()), 30);
  EXPECT_EQ(h.Undo(), nullptr);
  EXPECT_EQ(Shown(h.Redo()), 60);
  // An edit after undoing drops what could be redone.
  h.Record(WithExtrusion(90));
  EXPECT_FALSE(h.CanRedo());
  EXPECT_EQ(Shown(h.Undo()), 60);
  // A drag that ends where it began is no step.
  h.Redo();
  h.Record(WithExtrusion(95), 3);
  h.Record(WithExtrusion(90), 3);
  EXPECT_EQ(h.UndoSteps(), 2u);
  EXPECT_EQ(h.Present().Params.TxtY, 90);
  // The message and the export size are part of the design; the caret is not.
  TDesignState typed = h.Present();
  typed.Text.Append("A", TCharFormat{});
  typed.Text.SetSelection(0, 1);
  EXPECT_TRUE(h.Record(typed));
  TDesignState caret = typed;
  caret.Text.SetSelection(1, 0);
  EXPECT_FALSE(h.Record(caret));
  caret.Dim.Width = 300;
  EXPECT_TRUE(h.Record(caret));
}

TEST(DesignHistory, UndoingBackToTheSavedStateIsCleanUntilThatStateIsGone) {
  TDesignHistory h;
  int changes = 0;
  h.OnChange = [&] { ++changes; };
  h.Reset(WithExtrusion(30));
  EXPECT_TRUE(h.IsClean());
  h.Record(WithExtrusion(40), 1);
  h.MarkClean();                   // saved at 40; the step is closed
  h.Record(WithExtrusion(50), 1);  // a new step, though of the same control
  EXPECT_FALSE(h.IsClean());
  h.Undo();
  EXPECT_TRUE(h.IsClean());
  h.Undo();
  EXPECT_FALSE(h.IsClean());
  h.Redo();
  EXPECT_TRUE(h.IsClean());
  EXPECT_GT(changes, 5);
  // Undone past the saved state and edited anew: that state can no longer come back.
  h.Undo();
  h.Record(WithExtrusion(45));
  h.Undo();
  EXPECT_EQ(Shown(h.Redo()), 45);
  EXPECT_FALSE(h.IsClean());
  // The bound: the oldest steps go, and a saved state among them with them.
  h.Reset(WithExtrusion(0));
  for (int32_t v = 1; v <= static_cast<int32_t>(TDesignHistory::MaxSteps) + 5; ++v) h.Record(WithExtrusion(v));
  EXPECT_EQ(h.UndoSteps(), TDesignHistory::MaxSteps);
  while (h.Undo()) EXPECT_FALSE(h.IsClean());
  EXPECT_EQ(h.Present().Params.TxtY, 5);
}

TEST(DesignHistory, TheSessionRestoresTextAndTexturesAndSavingMarksClean) {
  test::TTempDir dir;
  std::filesystem::create_directories(dir.File("Textures"));
  WriteBmp24(dir.File("Textures/wood.bmp"), TBitmap(8, 8));
  test::WriteText(dir.File("junk.png"), "not a picture");
  test::TMessageCollector messages;
  test::TProgressLog progress;
  TDesignSession session(dir.Path(), messages, progress);
  TMessageText go;
  go.Append("Go", TCharFormat{});
  session.Start(TParams(), go);
  EXPECT_FALSE(session.Unsaved());

  // A texture handed over that cannot be read changes nothing: no step either.
  const TEditResult refused = session.ChooseTexture(TPart::Button, dir.File("junk.png"));
  EXPECT_FALSE(refused.Changed);
  EXPECT_EQ(refused.Follow, TFollowUp::None);
  ASSERT_EQ(messages.Texts.size(), 1u);
  EXPECT_EQ(messages.Texts[0].rfind("Error loading file: " + dir.File("junk.png") + ": ", 0), 0u);
  EXPECT_TRUE(session.Params().Button.TexFile.empty());
  EXPECT_FALSE(session.CanUndo());

  const TEditResult chosen = session.ChooseTexture(TPart::Button, dir.File("Textures/wood.bmp"));
  EXPECT_TRUE(chosen.Changed && chosen.Unsaved);
  EXPECT_EQ(chosen.Follow, TFollowUp::Rebuild);
  EXPECT_TRUE(session.Textured(TPart::Button));
  session.ReplaceMessage(U"Gone");
  ASSERT_TRUE(session.Undo());
  EXPECT_EQ(session.Text().Text(), "Go");
  EXPECT_TRUE(session.Textured(TPart::Button));
  ASSERT_TRUE(session.Undo());
  EXPECT_FALSE(session.Textured(TPart::Button));  // the texture went with its name
  EXPECT_FALSE(session.Unsaved());
  EXPECT_FALSE(session.Undo());
  ASSERT_TRUE(session.Redo());
  EXPECT_TRUE(session.Textured(TPart::Button));
  EXPECT_EQ(session.Params().Button.TexFile, dir.File("Textures/wood.bmp"));

  session.Save(dir.File("saved.qznr"));
  EXPECT_FALSE(session.Unsaved());
  session.Redo();
  EXPECT_TRUE(session.Unsaved());
  session.Undo();
  EXPECT_FALSE(session.Unsaved());
  // A load starts a new history.
  ASSERT_TRUE(session.Load(dir.File("saved.qznr")));
  EXPECT_FALSE(session.CanUndo() || session.CanRedo());
  EXPECT_EQ(messages.Texts.size(), 1u);
}

}  // namespace
}  // namespace qz
