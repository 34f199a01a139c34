#include "dialogs/agent/agent_widgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

QLineEdit* NameEdit(QWidget* parent, const char* objectName, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(objectName));
    edit->setMaxLength(maxLength);
    return edit;
}

QLineEdit* PasswordEdit(QWidget* parent, const char* objectName) {
    QLineEdit* edit = NameEdit(parent, objectName, 64);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QComboBox* Combo(QWidget* parent, const char* objectName, std::initializer_list<const char*> items) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(objectName));
    for (const char* item : items) combo->addItem(QString::fromLatin1(item));
    return combo;
}

QComboBox* ChoiceCombo(QWidget* parent, const char* objectName, Choices items) {
    QComboBox* combo = Combo(parent, objectName, {});
    AddChoices(combo, items);
    return combo;
}

QPushButton* PushButton(QWidget* parent, const QString& text, const char* objectName) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(objectName));
    button->setAutoDefault(false);
    return button;
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : buttons) row->addWidget(b);
    return row;
}

QString Text(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string Typed(const QLineEdit* edit, bool trimmed) {
    return (trimmed ? edit->text().trimmed() : edit->text()).toUtf8().toStdString();
}
