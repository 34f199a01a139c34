#pragma once
// Small widget makers and text conversions the SNMP-agent dialogs share.

#include <QString>
#include <initializer_list>
#include <string>

#include "dialogs/common/choices.h"

class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

// A name field of at most `maxLength` characters.
QLineEdit* NameEdit(QWidget* parent, const char* objectName, int maxLength = 32);
// A masked password field.
QLineEdit* PasswordEdit(QWidget* parent, const char* objectName);
// A drop-down list with fixed entries, the first selected.
QComboBox* Combo(QWidget* parent, const char* objectName, std::initializer_list<const char*> items);
QComboBox* ChoiceCombo(QWidget* parent, const char* objectName, Choices items);
QPushButton* PushButton(QWidget* parent, const QString& text, const char* objectName);
// The buttons right-aligned in a row.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);

// UTF-8 bytes (the module's texts) to the screen, and a field's text to UTF-8 (blanks trimmed at both
// ends when `trimmed`).
QString Text(const std::string& utf8);
std::string Typed(const QLineEdit* edit, bool trimmed);
