#include "support/WorkspaceTest.h"

#include "editing/TimeShift.h"

using namespace korv;
using namespace korv::test;

namespace {

class TimeShiftTest : public WorkspaceTest {
protected:
    void shift(const char *seconds, bool add)
    {
        ws.fields.setText(EditFields::ShiftSeconds, seconds);
        CmdEkleCikar_Click(ws, add);
    }
};

} // namespace

TEST_F(TimeShiftTest, AddsOrSubtractsRoundedToHundredths)
{
    setRows({{"10", "12.5", "a"}, {"3", "10", "b"}});
    shift("2", true);
    EXPECT_EQ(cell(0, ColStart), "12.");
    EXPECT_EQ(cell(0, ColEnd), "14.5");
    EXPECT_EQ(ws.fields.text(EditFields::Start), "12."); // the fields follow
    shift("3.234", false);
    EXPECT_EQ(cell(0, ColStart), "8.77");
    shift("-2", true); // "EKLE" with a negative value moves earlier
    EXPECT_EQ(cell(1, ColStart), "-0.23");
    shift("abc", true);
    shift("", false);
    EXPECT_EQ(cell(1, ColEnd), "6.77");
    EXPECT_TRUE(ui.notices.empty());
}

TEST_F(TimeShiftTest, ARowThatIsNotANumberStopsEverythingAndIsNamed)
{
    setRows({{"1", "2", "a"}, {"3", "4", "b"}, {"", "6", "c"}, {"7", "8", "d"}});
    shift("5", true);
    EXPECT_EQ(cell(0, ColStart), "1");
    EXPECT_EQ(cell(1, ColEnd), "4");
    EXPECT_EQ(cell(3, ColStart), "7");
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.notices[0].message, msg("006") + "\r\n\r\n" + msg("007") + "3");
    EXPECT_EQ(ui.notices[0].title, "Korvendal Production");
    EXPECT_EQ(ws.list.selected(), 2);
    EXPECT_FALSE(ws.list.isModified());
    EXPECT_EQ(ui.busyDepth, 0);
}
