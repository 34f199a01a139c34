#include "dialogs/common/choices.h"

#include <QComboBox>

int ChoiceValue(Choices choices, int item) {
    if (choices.empty()) return 0;
    return item >= 0 && static_cast<std::size_t>(item) < choices.size() ? choices[item].value
                                                                        : choices.front().value;
}

int ChoiceItemNamed(Choices choices, const std::string& text) {
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (text == choices[i].text) return static_cast<int>(i);
    return -1;
}

int ChoiceValueOf(Choices choices, const std::string& text) {
    return ChoiceValue(choices, ChoiceItemNamed(choices, text));
}

int ChoiceItemOf(Choices choices, int value) {
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (choices[i].value == value) return static_cast<int>(i);
    return -1;
}

void AddChoices(QComboBox* combo, Choices choices) {
    for (const Choice& c : choices) combo->addItem(QString::fromUtf8(c.text));
}
