#pragma once
// The fixed entries of a combo box together with the value the switch is sent for each, and the two
// values of a written check box. Each control has one such table beside its dialog's rules: the combo
// box is filled from it and Apply writes from it, so the entries shown and the values sent cannot drift
// apart, and each table can be checked entry by entry without a widget.

#include <span>
#include <string>

class QComboBox;

struct Choice {
    const char* text;
    int value;
};
using Choices = std::span<const Choice>;

// The value of entry `item`; the first entry's when `item` is outside the table (a combo box with
// nothing chosen).
int ChoiceValue(Choices choices, int item);
// The entry showing `text`, -1 when none does.
int ChoiceItemNamed(Choices choices, const std::string& text);
// The value of the entry showing `text`; the first entry's when none does.
int ChoiceValueOf(Choices choices, const std::string& text);
// The entry that writes `value`, -1 when none does.
int ChoiceItemOf(Choices choices, int value);
// The value as a binding's decimal text.
inline std::string ValueText(int value) {
    return std::to_string(value);
}

// A written check box: the value sent when it is checked and when it is cleared.
struct CheckValues {
    int checked;
    int cleared;
    int Of(bool on) const { return on ? checked : cleared; }
    std::string TextOf(bool on) const { return ValueText(Of(on)); }
};

// Fills `combo` with the entries' texts, in order.
void AddChoices(QComboBox* combo, Choices choices);
