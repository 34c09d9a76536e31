// The opening every writer shares (beginExport, encodeForExport): which fonts it refuses, the
// offsets it hands on and where a cancel stops it.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/cancel_flag.h"
#include "common/progress_sink.h"
#include "common/settings_store.h"
#include "export/bitmap_encoder.h"
#include "export/data_format.h"
#include "export/export_driver.h"
#include "export/export_stream.h"
#include "export_test_support.h"
#include "model/font.h"

namespace typeloom::exporters {
namespace {

constexpr std::uint32_t kRows8 = kScanRow | kPreferRow | kBigEndian | kLength8;

// Counts every call and requests the cancel at the given step of a walk (0: never).
class StepSink : public ProgressSink {
  public:
    StepSink(CancelFlag& cancel, int cancelAtStep) : m_cancel(cancel), m_at(cancelAtStep) {}
    void show(bool) override { ++calls; }
    void setRange(int, int) override { ++calls; }
    void setStep(int) override { ++calls; }
    void stepIt() override {
        ++calls;
        if (++steps == m_at) {
            m_cancel.requestCancel();
        }
    }
    void setText(const std::string&) override { ++calls; }

    int calls = 0;
    int steps = 0;

  private:
    CancelFlag& m_cancel;
    int m_at;
};

// One run of the opening on `font` with its own encoder, stream and settings.
struct Opening {
    explicit Opening(const Font& f, int cancelAtStep = 0)
        : font(f),
          encoder(font),
          sink(cancel, cancelAtStep),
          context(font, encoder, out, cancel, sink, settings, "fontX") {}

    const Font& font;
    BitmapEncoder encoder;
    ExportStream out;
    CancelFlag cancel;
    StepSink sink;
    MemorySettingsStore settings;
    ExportContext context;
    std::vector<std::uint32_t> offsets;
};

TEST(ExportOpening, OffsetsAreTheRunningTotalsOfEveryCharactersUnits) {
    // Fixed font: 5 pixels wide, 7 rows, one 8-bit unit a row: 7 units a character.
    Font fixed = test::fixedFont();
    fixed.dataFormat = kRows8;
    Opening a(fixed);
    ASSERT_TRUE(beginExport(a.context, a.offsets));
    EXPECT_EQ(a.offsets, (std::vector<std::uint32_t>{0, 7, 14, 21}));
    EXPECT_EQ(a.encoder.unitsOf('C').size(), 7u);

    // Variable font: widths 2, 1, 9 and 0 over 4 rows; the 9-pixel rows take two units and
    // the empty character none.
    Font variable = test::variableFont();
    variable.dataFormat = kRows8;
    Opening b(variable);
    ASSERT_TRUE(beginExport(b.context, b.offsets));
    EXPECT_EQ(b.offsets, (std::vector<std::uint32_t>{0, 4, 8, 16, 16}));
}

TEST(ExportOpening, FontWithoutCharactersIsRefusedBeforeAnyProgress) {
    Font empty;
    empty.height = 8;
    Opening refused(empty);
    EXPECT_FALSE(beginExport(refused.context, refused.offsets));
    EXPECT_EQ(refused.sink.calls, 0);
    EXPECT_TRUE(refused.out.contents().empty());

    // Without the check (Intel HEX) the empty font encodes to no units at all.
    Opening encoded(empty);
    EXPECT_TRUE(encodeForExport(encoded.context, encoded.offsets, 0x010));
    EXPECT_EQ(encoded.offsets, std::vector<std::uint32_t>{0});
}

TEST(ExportOpening, CancelDuringOrRightAfterTheEncodingStopsTheWriter) {
    const Font font = test::fixedFont();  // three characters
    {
        SCOPED_TRACE("cancelled before the run");
        Opening o(font);
        o.cancel.requestCancel();
        EXPECT_FALSE(beginExport(o.context, o.offsets));
        EXPECT_EQ(o.offsets, std::vector<std::uint32_t>{0});
    }
    {
        SCOPED_TRACE("cancelled after the first character");
        Opening o(font, 1);
        EXPECT_FALSE(beginExport(o.context, o.offsets));
        EXPECT_EQ(o.offsets.size(), 2u);  // the second character was never encoded
    }
    {
        // The encoding has every character when the cancel comes at its last step: the
        // encoder succeeds, the opening still stops the writer.
        SCOPED_TRACE("cancelled at the last step");
        Opening o(font, 3);
        EXPECT_FALSE(beginExport(o.context, o.offsets));
        EXPECT_EQ(o.offsets.size(), 4u);
        EXPECT_TRUE(o.context.cancelled());
    }
    {
        SCOPED_TRACE("never cancelled");
        Opening o(font, 4);  // a fourth step never comes
        EXPECT_TRUE(beginExport(o.context, o.offsets));
        EXPECT_EQ(o.sink.steps, 3);
    }
}

}  // namespace
}  // namespace typeloom::exporters
