// The way documents take into the incoming folder, and the staged copies a
// hand-off may remove.
#include "handoff/copy_plan.h"

#include <gtest/gtest.h>

TEST(CopyPlan, EachDocumentIsStagedUnderItsLaunchersNameAndRenamedToItsOwn) {
  std::vector<WString> steps;
  for (const PlannedCopy& copy : PlanCopies(
           {u"C:\\in\\a.ofx", u"", u"b.qif", u"x*.qif", u"C:c.qif"}, u"I\\", u"S\\", u"C:\\w", 9))
    steps.push_back(copy.source + u" " + copy.staged + u" " + copy.target);
  EXPECT_EQ(steps,
            (std::vector<WString>{u"C:\\in\\a.ofx S\\9-0.part I\\a.ofx",
                                  u"C:\\w\\b.qif S\\9-2.part I\\b.qif",
                                  u"C:\\w\\x*.qif S\\9-3.part I\\",
                                  u"C:c.qif S\\9-4.part I\\c.qif"}));
}

TEST(CopyPlan, AStagedNameTellsTheProcessThatWroteIt) {
  EXPECT_EQ(StagingProcessOf(u"1234-0.part"), 1234u);
  EXPECT_EQ(StagingProcessOf(u"4294967295-12.part"), 4294967295u);
  EXPECT_EQ(StagingProcessOf(u"4294967296-0.part"), std::nullopt);
  EXPECT_EQ(StagingProcessOf(u"-0.part"), std::nullopt);
  EXPECT_EQ(StagingProcessOf(u"1-012345"), std::nullopt);
}
