#include "model/transform_dialogs.h"

#include "model/new_font.h"
#include "model/transforms.h"

namespace typeloom {

namespace {

std::string rangeMessage(std::uint32_t low, std::uint32_t high) {
    return "Please enter an integer between " + std::to_string(low) + " and " +
           std::to_string(high) + ".";
}

// What differs between the height and the width dialog.
struct SizeRules {
    std::uint16_t size;  // current height or fixed width
    int fewest;          // fewest rows or columns a reduce may leave
    const char* clippedTooMuch;
    const char* increasedTooMuch;
    const char* notChanged;
    const char* title;
};

// The largest size an increase may reach is one below this.
constexpr int kSizeLimit = 256;

ChangeSizeOutcome acceptChangeSize(const ChangeSizeFields& fields, const ChangeSizeValues& previous,
                                   const SizeRules& rules) {
    ChangeSizeOutcome out;
    out.values = previous;

    ChangeSizeValues typed;
    struct Edit {
        const std::string& text;
        ChangeSizeField field;
        std::uint16_t ChangeSizeValues::*value;
    };
    // Every edit is transferred, the disabled ones of the other choice too, in dialog order.
    const Edit edits[] = {
        {fields.clipBefore, ChangeSizeField::ClipBefore, &ChangeSizeValues::clipBefore},
        {fields.clipAfter, ChangeSizeField::ClipAfter, &ChangeSizeValues::clipAfter},
        {fields.addBefore, ChangeSizeField::AddBefore, &ChangeSizeValues::addBefore},
        {fields.addAfter, ChangeSizeField::AddAfter, &ChangeSizeValues::addAfter},
    };
    for (const Edit& edit : edits) {
        std::uint32_t v = 0;
        if (!parseFieldNumber(edit.text, v) || v > kChangeSizeFieldMax) {
            out.message = rangeMessage(0, kChangeSizeFieldMax);
            out.focus = edit.field;
            return out;
        }
        typed.*edit.value = static_cast<std::uint16_t>(v);
    }
    out.values = typed;

    const bool reduce = !fields.increase;
    const int before = reduce ? typed.clipBefore : typed.addBefore;
    const int after = reduce ? typed.clipAfter : typed.addAfter;
    // Nothing to change is said as such before the limits are checked: a font already below 5
    // rows (or 4 columns), or at 256 or more, would otherwise be told it was clipped or
    // increased too much when nothing was.
    if (before == 0 && after == 0) {
        out.result = DialogResult::Unchanged;
        out.message = rules.notChanged;
        out.title = rules.title;
        return out;
    }
    const bool refused = reduce ? rules.size - before - after < rules.fewest
                                : rules.size + before + after >= kSizeLimit;
    if (refused) {
        // The larger value goes back to what it was (the first one on a tie).
        const bool first = before >= after;
        if (reduce) {
            out.focus = first ? ChangeSizeField::ClipBefore : ChangeSizeField::ClipAfter;
            (first ? out.values.clipBefore : out.values.clipAfter) =
                first ? previous.clipBefore : previous.clipAfter;
            out.message = rules.clippedTooMuch;
        } else {
            out.focus = first ? ChangeSizeField::AddBefore : ChangeSizeField::AddAfter;
            (first ? out.values.addBefore : out.values.addAfter) =
                first ? previous.addBefore : previous.addAfter;
            out.message = rules.increasedTooMuch;
        }
        return out;
    }
    out.result = DialogResult::Accepted;
    out.remove = reduce;
    out.before = static_cast<std::uint16_t>(before);
    out.after = static_cast<std::uint16_t>(after);
    return out;
}

}  // namespace

std::string pixelsLabel(int pixels) {
    return std::to_string(pixels) + " pixels";
}

ChangeSizeOutcome acceptChangeHeightDialog(const ChangeSizeFields& fields,
                                           const ChangeSizeValues& previous, std::uint16_t height,
                                           std::int16_t ascent) {
    ChangeSizeOutcome out =
        acceptChangeSize(fields, previous,
                         {height, 5, kHeightClippedTooMuchMessage, kHeightIncreasedTooMuchMessage,
                          kHeightNotChangedMessage, kChangeHeightTitle});
    if (out.result == DialogResult::Accepted) {
        const int change = out.before + out.after;
        const int newHeight = out.remove ? height - change : height + change;
        int newAscent = out.remove ? ascent - out.before : ascent + out.before;
        if (newAscent < 0) {
            newAscent = newHeight;
        }
        out.newAscent = static_cast<std::int16_t>(newAscent);
    }
    return out;
}

ChangeSizeOutcome acceptChangeWidthDialog(const ChangeSizeFields& fields,
                                          const ChangeSizeValues& previous,
                                          std::uint16_t fixedWidth) {
    return acceptChangeSize(
        fields, previous,
        {fixedWidth, 4, kWidthClippedTooMuchMessage, kWidthIncreasedTooMuchMessage,
         kWidthNotChangedMessage, kChangeWidthTitle});
}

bool applyChangeHeight(Font& font, const ChangeSizeOutcome& outcome) {
    if (outcome.result != DialogResult::Accepted ||
        !changeRows(font, outcome.remove, outcome.before, outcome.after)) {
        return false;
    }
    font.ascent = outcome.newAscent;
    return true;
}

bool applyChangeWidth(Font& font, const ChangeSizeOutcome& outcome) {
    return outcome.result == DialogResult::Accepted &&
           changeColumns(font, outcome.remove, outcome.before, outcome.after);
}

ChangeAscentOutcome acceptChangeAscentDialog(const std::string& text, std::uint16_t height,
                                             std::int16_t ascent) {
    ChangeAscentOutcome out;
    out.ascent = ascent;
    std::uint32_t v = 0;
    if (!parseFieldNumber(text, v) || v > kChangeSizeFieldMax) {
        out.message = rangeMessage(0, kChangeSizeFieldMax);
        out.fieldText = text;
        return out;
    }
    if (v >= height) {
        out.message = kAscentTooLargeMessage;
        out.fieldText = std::to_string(ascent);
        return out;
    }
    out.accepted = true;
    out.ascent = static_cast<std::int16_t>(v);
    out.changed = out.ascent != ascent;
    return out;
}

ResizeFontDialog::ResizeFontDialog(std::uint16_t height, std::uint16_t fixedWidth)
    : m_height(height), m_fixedWidth(fixedWidth) {}

void ResizeFontDialog::choosePercentage() {
    m_byPixels = false;
    m_horizontal = "100";
    m_vertical = "100";
}

void ResizeFontDialog::choosePixels() {
    if (!pixelsEnabled()) {
        return;
    }
    m_byPixels = true;
    m_vertical = std::to_string(m_height);
    m_horizontal = std::to_string(m_fixedWidth);
}

void ResizeFontDialog::setMaintainAspect(bool on) {
    m_maintainAspect = on;
    if (on) {
        editVertical(m_vertical);
    }
}

void ResizeFontDialog::editVertical(const std::string& text) {
    m_vertical = text;
    std::uint32_t v = 0;
    if (!m_maintainAspect || !parseFieldNumber(text, v)) {
        return;
    }
    if (!m_byPixels) {
        m_horizontal = std::to_string(v);
    } else if (m_height != 0) {
        m_horizontal = std::to_string(std::uint64_t{v} * m_fixedWidth / m_height);
    }
}

void ResizeFontDialog::editHorizontal(const std::string& text) {
    m_horizontal = text;
    std::uint32_t h = 0;
    if (!m_maintainAspect || !parseFieldNumber(text, h)) {
        return;
    }
    if (!m_byPixels) {
        m_vertical = std::to_string(h);
    } else if (m_fixedWidth != 0) {
        m_vertical = std::to_string(std::uint64_t{h} * m_height / m_fixedWidth);
    }
}

ResizeOutcome ResizeFontDialog::ok() const {
    ResizeOutcome out;
    out.byPercentage = !m_byPixels;
    const struct {
        const std::string& text;
        ResizeField field;
        std::uint32_t& value;
    } edits[] = {
        {m_horizontal, ResizeField::Horizontal, out.horizontal},
        {m_vertical, ResizeField::Vertical, out.vertical},
    };
    for (const auto& edit : edits) {
        std::uint32_t v = 0;
        if (!parseFieldNumber(edit.text, v) || v > kResizeFieldMax) {
            out.message = rangeMessage(0, kResizeFieldMax);
            out.focus = edit.field;
            return out;
        }
        edit.value = v;
    }
    out.accepted = true;
    return out;
}

}  // namespace typeloom
