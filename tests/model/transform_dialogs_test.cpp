#include "model/transform_dialogs.h"

#include <gtest/gtest.h>

namespace typeloom {
namespace {

ChangeSizeFields reduceBy(const char* before, const char* after) {
    ChangeSizeFields f;
    f.clipBefore = before;
    f.clipAfter = after;
    return f;
}

ChangeSizeFields increaseBy(const char* before, const char* after) {
    ChangeSizeFields f;
    f.increase = true;
    f.addBefore = before;
    f.addAfter = after;
    return f;
}

struct SizeRow {
    const char* what;
    ChangeSizeFields fields;
    ChangeSizeValues previous;
    DialogResult result;
    const char* message;
    ChangeSizeField focus;
    ChangeSizeValues values;  // what the dialog holds afterwards
};

void checkRows(const std::vector<SizeRow>& rows, std::uint16_t size, bool height) {
    for (const SizeRow& row : rows) {
        SCOPED_TRACE(row.what);
        const ChangeSizeOutcome out =
            height ? acceptChangeHeightDialog(row.fields, row.previous, size, 13)
                   : acceptChangeWidthDialog(row.fields, row.previous, size);
        EXPECT_EQ(out.result, row.result);
        EXPECT_EQ(out.message, row.message);
        EXPECT_EQ(out.focus, row.focus);
        EXPECT_EQ(out.values, row.values);
    }
}

constexpr const char* kRange256 = "Please enter an integer between 0 and 256.";
using F = ChangeSizeField;
using R = DialogResult;

TEST(TransformDialogs, ChangeHeightRefusesTooFewOrTooManyRowsAndSetsTheLargerValueBack) {
    const char* clipped =
        "The font height is clipped too much.\nThe font height must be large than 4.";
    const char* increased =
        "The font height is increased too much.\nThe font height must be smaller than 256.";
    const std::vector<SizeRow> rows = {
        {"16 - 6 - 6 leaves 4 rows: clip top goes back",
         reduceBy("6", "6"),
         {},
         R::Refused,
         clipped,
         F::ClipBefore,
         {0, 6, 0, 0}},
        {"a tie goes back to the previous top value",
         reduceBy("6", "6"),
         {3, 2, 0, 0},
         R::Refused,
         clipped,
         F::ClipBefore,
         {3, 6, 0, 0}},
        {"the larger bottom value goes back",
         reduceBy("2", "12"),
         {1, 2, 0, 0},
         R::Refused,
         clipped,
         F::ClipAfter,
         {2, 2, 0, 0}},
        {"16 - 5 - 6 leaves 5 rows",
         reduceBy("5", "6"),
         {},
         R::Accepted,
         "",
         F::None,
         {5, 6, 0, 0}},
        {"16 + 120 + 120 reaches 256: add top goes back",
         increaseBy("120", "120"),
         {},
         R::Refused,
         increased,
         F::AddBefore,
         {0, 0, 0, 120}},
        {"the larger bottom value goes back",
         increaseBy("100", "200"),
         {0, 0, 7, 9},
         R::Refused,
         increased,
         F::AddAfter,
         {0, 0, 100, 9}},
        {"16 + 119 + 120 reaches 255",
         increaseBy("119", "120"),
         {},
         R::Accepted,
         "",
         F::None,
         {0, 0, 119, 120}},
        {"nothing to clip",
         reduceBy("0", "0"),
         {},
         R::Unchanged,
         "Font height is not changed",
         F::None,
         {}},
        {"nothing to add, clip edits ignored",
         [] {
             ChangeSizeFields f = increaseBy("0", "0");
             f.clipBefore = "3";
             return f;
         }(),
         {},
         R::Unchanged,
         "Font height is not changed",
         F::None,
         {3, 0, 0, 0}},
        {"257 in clip bottom: the previous values stay",
         reduceBy("1", "257"),
         {4, 4, 4, 4},
         R::Refused,
         kRange256,
         F::ClipAfter,
         {4, 4, 4, 4}},
        {"a word in clip top", reduceBy("two", "1"), {}, R::Refused, kRange256, F::ClipBefore, {}},
        {"a negative number", increaseBy("-1", "1"), {}, R::Refused, kRange256, F::AddBefore, {}},
        {"an empty edit", increaseBy("1", ""), {}, R::Refused, kRange256, F::AddAfter, {}},
        {"a bad value in an edit of the other choice is still checked",
         [] {
             ChangeSizeFields f = reduceBy("1", "1");
             f.addAfter = "300";
             return f;
         }(),
         {},
         R::Refused,
         kRange256,
         F::AddAfter,
         {}},
        {"the first bad edit in dialog order",
         [] {
             ChangeSizeFields f = reduceBy("1", "x");
             f.addBefore = "y";
             return f;
         }(),
         {},
         R::Refused,
         kRange256,
         F::ClipAfter,
         {}},
    };
    checkRows(rows, 16, true);
}

TEST(TransformDialogs, NothingToChangeIsNotRefusedForAFontOutsideTheLimits) {
    // A 4-row font (New Font allows it) and a 300-row one: clipping or adding nothing is
    // "not changed", not "clipped/increased too much".
    EXPECT_EQ(acceptChangeHeightDialog(reduceBy("0", "0"), {}, 4, 2).result, R::Unchanged);
    EXPECT_EQ(acceptChangeHeightDialog(increaseBy("0", "0"), {}, 300, 2).result, R::Unchanged);
    EXPECT_EQ(acceptChangeWidthDialog(reduceBy("0", "0"), {}, 3).result, R::Unchanged);
    EXPECT_EQ(acceptChangeWidthDialog(increaseBy("0", "0"), {}, 256).result, R::Unchanged);
    // Anything else is still refused.
    EXPECT_EQ(acceptChangeHeightDialog(increaseBy("1", "0"), {}, 4, 2).result, R::Accepted);
    EXPECT_EQ(acceptChangeHeightDialog(reduceBy("0", "1"), {}, 4, 2).result, R::Refused);
    EXPECT_EQ(acceptChangeHeightDialog(reduceBy("1", "0"), {}, 300, 2).result, R::Accepted);
    EXPECT_EQ(acceptChangeWidthDialog(increaseBy("0", "1"), {}, 256).result, R::Refused);
}

TEST(TransformDialogs, ChangeHeightUnchangedHasTheDialogsTitle) {
    const ChangeSizeOutcome out = acceptChangeHeightDialog(reduceBy("0", "0"), {}, 16, 13);
    EXPECT_EQ(out.title, "Change Font Height");
    const ChangeSizeOutcome width = acceptChangeWidthDialog(increaseBy("0", "0"), {}, 8);
    EXPECT_EQ(width.result, DialogResult::Unchanged);
    EXPECT_EQ(width.message, "Font width is not changed");
    EXPECT_EQ(width.title, "Change Font Width");
}

TEST(TransformDialogs, ChangeHeightGivesTheOperationAndTheNewAscent) {
    struct Row {
        const char* what;
        ChangeSizeFields fields;
        std::uint16_t height;
        std::int16_t ascent;
        bool remove;
        std::uint16_t before, after;
        std::int16_t newAscent;
    };
    const Row rows[] = {
        {"add 2 on top of ascent 13", increaseBy("2", "1"), 16, 13, false, 2, 1, 15},
        {"clip 2 on top of ascent 13", reduceBy("2", "1"), 16, 13, true, 2, 1, 11},
        {"clip at the bottom only", reduceBy("0", "4"), 16, 13, true, 0, 4, 13},
        {"ascent 3 less 5 becomes the new height", reduceBy("5", "0"), 16, 3, true, 5, 0, 11},
        {"ascent 3 less 3 is 0", reduceBy("3", "2"), 16, 3, true, 3, 2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const ChangeSizeOutcome out =
            acceptChangeHeightDialog(row.fields, {}, row.height, row.ascent);
        ASSERT_EQ(out.result, DialogResult::Accepted) << out.message;
        EXPECT_EQ(out.remove, row.remove);
        EXPECT_EQ(out.before, row.before);
        EXPECT_EQ(out.after, row.after);
        EXPECT_EQ(out.newAscent, row.newAscent);
    }
}

TEST(TransformDialogs, ChangeWidthRefusesTooFewOrTooManyColumns) {
    const char* clipped =
        "The font width is clipped too much.\nThe width of a fixed-width font must be large than "
        "3.";
    const char* increased =
        "The font width is increased too much.\nThe width of a fixed-width font must be smaller "
        "than 256.";
    const std::vector<SizeRow> rows = {
        {"8 - 2 - 2 leaves 4 columns",
         reduceBy("2", "2"),
         {},
         R::Accepted,
         "",
         F::None,
         {2, 2, 0, 0}},
        {"8 - 3 - 2 leaves 3: clip left goes back",
         reduceBy("3", "2"),
         {},
         R::Refused,
         clipped,
         F::ClipBefore,
         {0, 2, 0, 0}},
        {"8 - 3 - 3: a tie sets clip left back",
         reduceBy("3", "3"),
         {1, 1, 0, 0},
         R::Refused,
         clipped,
         F::ClipBefore,
         {1, 3, 0, 0}},
        {"8 - 1 - 4: clip right goes back",
         reduceBy("1", "4"),
         {},
         R::Refused,
         clipped,
         F::ClipAfter,
         {1, 0, 0, 0}},
        {"8 + 247 reaches 255",
         increaseBy("200", "47"),
         {},
         R::Accepted,
         "",
         F::None,
         {0, 0, 200, 47}},
        {"8 + 248 reaches 256: add left goes back",
         increaseBy("200", "48"),
         {},
         R::Refused,
         increased,
         F::AddBefore,
         {0, 0, 0, 48}},
        {"8 + 100 + 148: add right goes back",
         increaseBy("100", "148"),
         {},
         R::Refused,
         increased,
         F::AddAfter,
         {0, 0, 100, 0}},
        {"257 columns typed", increaseBy("257", "0"), {}, R::Refused, kRange256, F::AddBefore, {}},
    };
    checkRows(rows, 8, false);
    const ChangeSizeOutcome out = acceptChangeWidthDialog(reduceBy("2", "2"), {}, 8);
    EXPECT_TRUE(out.remove);
    EXPECT_EQ(out.before, 2);
    EXPECT_EQ(out.after, 2);
}

TEST(TransformDialogs, ChangeAscentMustStayBelowTheHeight) {
    struct Row {
        const char* text;
        bool accepted;
        bool changed;
        std::int16_t ascent;
        const char* message;
        const char* fieldText;
    };
    const Row rows[] = {
        {"16", false, false, 13, "Font Ascent must be smaller than font Height", "13"},
        {"200", false, false, 13, "Font Ascent must be smaller than font Height", "13"},
        {"15", true, true, 15, "", ""},
        {"0", true, true, 0, "", ""},
        {"13", true, false, 13, "", ""},
        {"257", false, false, 13, "Please enter an integer between 0 and 256.", "257"},
        {"-1", false, false, 13, "Please enter an integer between 0 and 256.", "-1"},
        {"", false, false, 13, "Please enter an integer between 0 and 256.", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const ChangeAscentOutcome out = acceptChangeAscentDialog(row.text, 16, 13);
        EXPECT_EQ(out.accepted, row.accepted);
        EXPECT_EQ(out.changed, row.changed);
        EXPECT_EQ(out.ascent, row.ascent);
        EXPECT_EQ(out.message, row.message);
        EXPECT_EQ(out.fieldText, row.fieldText);
    }
}

TEST(TransformDialogs, ResizeStartsInPercentageAndOffersPixelsOnlyForFixedWidth) {
    ResizeFontDialog variable(16, 0);
    EXPECT_FALSE(variable.pixelsEnabled());
    EXPECT_FALSE(variable.byPixels());
    EXPECT_FALSE(variable.maintainAspect());
    EXPECT_EQ(variable.horizontal(), "100");
    EXPECT_EQ(variable.vertical(), "100");
    variable.choosePixels();
    EXPECT_FALSE(variable.byPixels());
    EXPECT_EQ(variable.vertical(), "100");

    ResizeFontDialog fixed(16, 8);
    ASSERT_TRUE(fixed.pixelsEnabled());
    fixed.choosePixels();
    EXPECT_TRUE(fixed.byPixels());
    EXPECT_EQ(fixed.vertical(), "16");
    EXPECT_EQ(fixed.horizontal(), "8");
    fixed.choosePercentage();
    EXPECT_FALSE(fixed.byPixels());
    EXPECT_EQ(fixed.vertical(), "100");
    EXPECT_EQ(fixed.horizontal(), "100");
}

TEST(TransformDialogs, ResizeKeepsTheAspectWhenAsked) {
    ResizeFontDialog d(16, 8);
    d.editVertical("50");  // box unchecked: the other edit stays
    EXPECT_EQ(d.horizontal(), "100");
    d.setMaintainAspect(true);  // applies Vertical to Horizontal at once
    EXPECT_EQ(d.horizontal(), "50");
    d.editHorizontal("120");
    EXPECT_EQ(d.vertical(), "120");

    d.choosePixels();
    d.editVertical("25");
    EXPECT_EQ(d.horizontal(), "12");  // 25 x 8 / 16 = 12.5
    d.editHorizontal("5");
    EXPECT_EQ(d.vertical(), "10");  // 5 x 16 / 8
    d.editHorizontal("7");
    EXPECT_EQ(d.vertical(), "14");
    d.editVertical("abc");  // not a number: Horizontal stays
    EXPECT_EQ(d.horizontal(), "7");

    ResizeFontDialog late(16, 8);
    late.choosePixels();
    late.editVertical("20");
    EXPECT_EQ(late.horizontal(), "8");
    late.setMaintainAspect(true);
    EXPECT_EQ(late.horizontal(), "10");  // 20 x 8 / 16
    // A huge typed number does not overflow.
    late.editVertical("4294967295");
    EXPECT_EQ(late.horizontal(), "2147483647");
}

TEST(TransformDialogs, ResizeOkChecksBothEditsHorizontalFirst) {
    struct Row {
        const char* what;
        const char* horizontal;
        const char* vertical;
        bool accepted;
        ResizeField focus;
    };
    const Row rows[] = {
        {"500 and 0 are the ends", "500", "0", true, ResizeField::None},
        {"501 horizontal", "501", "100", false, ResizeField::Horizontal},
        {"501 vertical", "100", "501", false, ResizeField::Vertical},
        {"both bad", "x", "-5", false, ResizeField::Horizontal},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ResizeFontDialog d(16, 8);
        d.editHorizontal(row.horizontal);
        d.editVertical(row.vertical);
        const ResizeOutcome out = d.ok();
        EXPECT_EQ(out.accepted, row.accepted);
        EXPECT_EQ(out.focus, row.focus);
        EXPECT_EQ(out.message, row.accepted ? "" : "Please enter an integer between 0 and 500.");
    }
    ResizeFontDialog d(16, 8);
    d.choosePixels();
    d.editVertical("24");
    d.editHorizontal("12");
    const ResizeOutcome out = d.ok();
    ASSERT_TRUE(out.accepted);
    EXPECT_FALSE(out.byPercentage);
    EXPECT_EQ(out.vertical, 24u);
    EXPECT_EQ(out.horizontal, 12u);
}

}  // namespace
}  // namespace typeloom
