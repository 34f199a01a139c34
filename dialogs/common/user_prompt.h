#pragma once
// Every message box and OK/Cancel question of the module goes through here, with its exact text.
// Production shows QMessageBox parented to the dialog (Cancel the default button of questions); tests
// install a RecordingPrompt that records the texts and answers the questions.

#include <QString>
#include <QStringList>
#include <deque>

class QWidget;

enum class PromptIcon { None, Information, Warning, Error, Question };

class UserPrompt {
public:
    virtual ~UserPrompt() = default;
    virtual void Inform(QWidget* parent, const QString& text, PromptIcon icon) = 0;
    // True for OK, false for Cancel.
    virtual bool Confirm(QWidget* parent, const QString& text) = 0;

    // The prompt in force (the QMessageBox one unless a test installed another). Install(nullptr)
    // restores the default. The installed object stays owned by the caller.
    static UserPrompt& Current();
    static void Install(UserPrompt* prompt);
};

// Shorthands through the current prompt; nothing is shown for a module dialog that has closed (Confirm
// answers Cancel).
void Inform(QWidget* parent, const QString& text, PromptIcon icon = PromptIcon::None);
bool Confirm(QWidget* parent, const QString& text);

// Test double: records every text in order and answers questions from a queue (OK when it is empty,
// unless defaultAnswer says otherwise). Installs itself for its lifetime.
class RecordingPrompt : public UserPrompt {
public:
    RecordingPrompt();
    ~RecordingPrompt() override;
    void Inform(QWidget* parent, const QString& text, PromptIcon icon) override;
    bool Confirm(QWidget* parent, const QString& text) override;

    QStringList texts;         // informs and questions, in order
    QList<PromptIcon> icons;   // icon of each text (Question for questions)
    std::deque<bool> answers;  // next answers to questions
    bool defaultAnswer = true;
    void Clear() {
        texts.clear();
        icons.clear();
    }
};
