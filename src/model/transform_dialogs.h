#pragma once

#include <cstdint>
#include <string>

#include "model/font.h"

namespace typeloom {

// The OK logic of the Change Font Height, Change Font Width, Change Font Ascent and Resize Font
// dialogs. Each takes the fields as the user typed them and returns what the dialog does: apply
// values, show a message and set a field back, or close without a change.

// "16 pixels": the label with the current height or width.
std::string pixelsLabel(int pixels);

// --- Change Font Height / Change Font Width

// The four edits of the two dialogs, in dialog order. "Before" is the top row or the left
// column, "after" the bottom row or the right column.
enum class ChangeSizeField { None, ClipBefore, ClipAfter, AddBefore, AddAfter };

struct ChangeSizeFields {
    bool increase = false;  // the "Increase" choice; Reduce is selected at start
    std::string clipBefore = "0";
    std::string clipAfter = "0";
    std::string addBefore = "0";
    std::string addAfter = "0";
};

// The values the dialog holds, as of its last transfer from the edits (all 0 when it opens).
// A value that is set back returns to what it was here.
struct ChangeSizeValues {
    std::uint16_t clipBefore = 0;
    std::uint16_t clipAfter = 0;
    std::uint16_t addBefore = 0;
    std::uint16_t addAfter = 0;

    friend bool operator==(const ChangeSizeValues&, const ChangeSizeValues&) = default;
};

enum class DialogResult {
    Refused,    // message (error icon), focus the field and select its text; the dialog stays
    Unchanged,  // message box with `title`; the dialog closes, the font is not changed
    Accepted,   // the dialog closes and the change is applied
};

struct ChangeSizeOutcome {
    DialogResult result = DialogResult::Refused;
    std::string message;
    std::string title;  // of the Unchanged message box
    ChangeSizeField focus = ChangeSizeField::None;
    // The dialog's values after OK. After a range refusal they are the previous ones and the
    // edits keep the text typed; after a limit refusal the edits show these values (the one
    // set back is `focus`).
    ChangeSizeValues values;
    // Accepted: the operation to run (remove, before, after) and, for the height, the ascent.
    bool remove = true;
    std::uint16_t before = 0;
    std::uint16_t after = 0;
    std::int16_t newAscent = 0;
};

inline constexpr std::uint32_t kChangeSizeFieldMax = 256;
inline constexpr const char* kHeightClippedTooMuchMessage =
    "The font height is clipped too much.\nThe font height must be large than 4.";
inline constexpr const char* kHeightIncreasedTooMuchMessage =
    "The font height is increased too much.\nThe font height must be smaller than 256.";
inline constexpr const char* kHeightNotChangedMessage = "Font height is not changed";
inline constexpr const char* kChangeHeightTitle = "Change Font Height";
inline constexpr const char* kWidthClippedTooMuchMessage =
    "The font width is clipped too much.\nThe width of a fixed-width font must be large than 3.";
inline constexpr const char* kWidthIncreasedTooMuchMessage =
    "The font width is increased too much.\nThe width of a fixed-width font must be smaller "
    "than 256.";
inline constexpr const char* kWidthNotChangedMessage = "Font width is not changed";
inline constexpr const char* kChangeWidthTitle = "Change Font Width";

// Change Font Height: every edit 0..256; a reduce must leave at least 5 rows and an increase
// stay below 256 rows, else the larger of the two values (the top one on a tie) is set back.
// Both values of the choice 0: "Font height is not changed". The new ascent is the ascent
// less the clipped top rows, or plus the added ones; a negative one becomes the new height.
ChangeSizeOutcome acceptChangeHeightDialog(const ChangeSizeFields& fields,
                                           const ChangeSizeValues& previous, std::uint16_t height,
                                           std::int16_t ascent);

// Change Font Width of a fixed-width font: the same on columns; a reduce must leave at least 4
// columns, an increase stay below 256. The ascent is not touched.
ChangeSizeOutcome acceptChangeWidthDialog(const ChangeSizeFields& fields,
                                          const ChangeSizeValues& previous,
                                          std::uint16_t fixedWidth);

// Runs an accepted Change Font Height on the font: the new ascent, then changeRows.
bool applyChangeHeight(Font& font, const ChangeSizeOutcome& outcome);
// Runs an accepted Change Font Width on the font (changeColumns).
bool applyChangeWidth(Font& font, const ChangeSizeOutcome& outcome);

// --- Change Font Ascent

inline constexpr const char* kAscentTooLargeMessage =
    "Font Ascent must be smaller than font Height";

struct ChangeAscentOutcome {
    bool accepted = false;
    bool changed = false;  // accepted with another value than the font's ascent
    std::int16_t ascent = 0;
    std::string message;    // refused: shown, the edit focused with its text selected
    std::string fieldText;  // refused: the edit's text afterwards (the current ascent when the
                            // value was set back, else the text as typed)
};

// The edit takes 0..256; a value equal to or above the height is set back to the ascent.
ChangeAscentOutcome acceptChangeAscentDialog(const std::string& text, std::uint16_t height,
                                             std::int16_t ascent);

// --- Resize Font

enum class ResizeField { None, Horizontal, Vertical };

struct ResizeOutcome {
    bool accepted = false;
    std::string message;
    ResizeField focus = ResizeField::None;
    std::uint32_t vertical = 0;
    std::uint32_t horizontal = 0;
    bool byPercentage = true;
};

inline constexpr std::uint32_t kResizeFieldMax = 500;

// The Resize Font dialog: the By choice (Percentage, or Pixels for a fixed-width font), the
// Horizontal and Vertical edits and "Maintain aspect ration". With the box checked, editing one
// edit sets the other: equal in percentage mode, in proportion to the font's fixed width and
// height in pixel mode (truncated). An edit whose text is not a whole number leaves the other
// edit as it is.
class ResizeFontDialog {
  public:
    ResizeFontDialog(std::uint16_t height, std::uint16_t fixedWidth);

    bool pixelsEnabled() const { return m_fixedWidth != 0; }
    bool byPixels() const { return m_byPixels; }
    bool maintainAspect() const { return m_maintainAspect; }
    const std::string& horizontal() const { return m_horizontal; }
    const std::string& vertical() const { return m_vertical; }

    // Both edits 100.
    void choosePercentage();
    // Vertical = height, Horizontal = fixed width. Ignored while Pixels is disabled.
    void choosePixels();
    // Checking the box applies the Vertical-to-Horizontal rule at once.
    void setMaintainAspect(bool on);
    void editVertical(const std::string& text);
    void editHorizontal(const std::string& text);

    // Both edits 0..500 (Horizontal checked first); the values to resize by.
    ResizeOutcome ok() const;

  private:
    std::uint16_t m_height;
    std::uint16_t m_fixedWidth;
    bool m_byPixels = false;
    bool m_maintainAspect = false;
    std::string m_horizontal = "100";
    std::string m_vertical = "100";
};

}  // namespace typeloom
