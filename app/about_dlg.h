#pragma once
// The About dialog (template 100): the device's name in the title and in control 1049, an OK button.

#include <QDialog>
#include <string>

class QLabel;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(const std::string& deviceName, QWidget* parent = nullptr);
    QLabel* ProductLabel() const { return m_product; }  // control 1049

private:
    QLabel* m_product;
};
