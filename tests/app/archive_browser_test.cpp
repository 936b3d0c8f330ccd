// The archive window's logic without the window: a page's marks checked a slice at a time, as the
// budget allows, ending where checking the whole page at once ends.
#include <gtest/gtest.h>

// Filters name only the fields a test sets; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include "app/archive_browser.h"
#include "archive/storable.h"
#include "sim/journal_generator.h"
#include "test_support.h"

namespace morvek {
namespace {

class ArchiveBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Forty short shifts: a page of Z-reports alone reads a shift for every row.
    OpenArchive(path)->Store(ReadStorableDocuments(GenerateJournal({400, 40, 9}).xml),
                             Arrival::kImported);
  }
  test::TempDir dir;
  std::string path = dir.File("a.sqlite");
};

TEST_F(ArchiveBrowserTest, MarksLeftForLaterAreCheckedASliceAtATime) {
  // Every page fetched and checked as a scroll does it.
  ArchiveBrowser whole(OpenArchive(path));
  ASSERT_TRUE(whole.Apply({}));
  while (whole.CanFetchMore()) whole.FetchMore();
  while (whole.MarksPending()) whole.CheckMarks(std::chrono::hours(1));

  // The pages after the first appended unchecked, then checked with a budget spent at once.
  ArchiveBrowser sliced(OpenArchive(path));
  ASSERT_TRUE(sliced.Apply({}));
  const std::size_t checkedFirst = sliced.CheckedRows();
  EXPECT_EQ(checkedFirst, sliced.rows().size());  // a small page: checked within its time
  while (sliced.CanFetchMore()) sliced.Append(sliced.NextPage());
  ASSERT_TRUE(sliced.MarksPending());
  EXPECT_EQ(sliced.rows()[checkedFirst].mark.state, MarkState::kPending);
  while (sliced.MarksPending()) ASSERT_EQ(sliced.CheckMarks(std::chrono::milliseconds(0)), 1);

  ASSERT_EQ(sliced.rows().size(), 440u);
  ASSERT_EQ(whole.rows().size(), sliced.rows().size());
  long long consistent = 0;
  for (std::size_t i = 0; i < whole.rows().size(); ++i) {
    EXPECT_EQ(sliced.rows()[i].mark.state, whole.rows()[i].mark.state) << i;
    EXPECT_EQ(sliced.rows()[i].mark.note, whole.rows()[i].mark.note) << i;
    EXPECT_NE(whole.rows()[i].mark.state, MarkState::kFault) << whole.rows()[i].mark.note;
    consistent += whole.rows()[i].mark.state == MarkState::kConsistent;
  }
  // Only the shift after the last Z-report is not closed yet.
  EXPECT_GT(consistent, 350);
}

}  // namespace
}  // namespace morvek
