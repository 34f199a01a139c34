#include "dialogs/common/user_prompt.h"

#include <QMessageBox>

#include "dialogs/common/module_dialog.h"

namespace {

class MessageBoxPrompt : public UserPrompt {
public:
    void Inform(QWidget* parent, const QString& text, PromptIcon icon) override {
        QMessageBox box(parent);
        box.setWindowTitle(parent ? parent->window()->windowTitle() : QStringLiteral("kms-module"));
        box.setText(text);
        switch (icon) {
            case PromptIcon::Information:
                box.setIcon(QMessageBox::Information);
                break;
            case PromptIcon::Warning:
                box.setIcon(QMessageBox::Warning);
                break;
            case PromptIcon::Error:
                box.setIcon(QMessageBox::Critical);
                break;
            case PromptIcon::Question:
                box.setIcon(QMessageBox::Question);
                break;
            case PromptIcon::None:
                break;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
    }
    bool Confirm(QWidget* parent, const QString& text) override {
        QMessageBox box(parent);
        box.setWindowTitle(parent ? parent->window()->windowTitle() : QStringLiteral("kms-module"));
        box.setText(text);
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok;
    }
};

MessageBoxPrompt g_default;
UserPrompt* g_current = &g_default;

}  // namespace

UserPrompt& UserPrompt::Current() {
    return *g_current;
}
void UserPrompt::Install(UserPrompt* prompt) {
    g_current = prompt ? prompt : &g_default;
}

// A dialog the user has closed says nothing more: a message of an Apply it left would stand alone.
void Inform(QWidget* parent, const QString& text, PromptIcon icon) {
    if (!DialogClosed(parent)) UserPrompt::Current().Inform(parent, text, icon);
}
bool Confirm(QWidget* parent, const QString& text) {
    return !DialogClosed(parent) && UserPrompt::Current().Confirm(parent, text);
}

RecordingPrompt::RecordingPrompt() {
    UserPrompt::Install(this);
}
RecordingPrompt::~RecordingPrompt() {
    if (&UserPrompt::Current() == this) UserPrompt::Install(nullptr);
}

void RecordingPrompt::Inform(QWidget*, const QString& text, PromptIcon icon) {
    texts << text;
    icons << icon;
}

bool RecordingPrompt::Confirm(QWidget*, const QString& text) {
    texts << text;
    icons << PromptIcon::Question;
    if (answers.empty()) return defaultAnswer;
    bool a = answers.front();
    answers.pop_front();
    return a;
}
