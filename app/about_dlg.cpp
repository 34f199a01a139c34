#include "app/about_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/common/module_dialog.h"

CAboutDlg::CAboutDlg(const std::string& deviceName, QWidget* parent) : QDialog(parent) {
    const QString name = QString::fromStdString(deviceName);
    setWindowTitle(name + QStringLiteral(" Module"));
    setWindowIcon(ApplicationIcon());

    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    m_product = new QLabel(name + QStringLiteral(" Management Module"), this);
    m_product->setObjectName(QStringLiteral("control1049"));
    auto* version = new QLabel(QStringLiteral("Version 1.0"), this);
    auto* copyright = new QLabel(QStringLiteral("Copyright (C) 2026"), this);

    auto* texts = new QVBoxLayout;
    texts->addWidget(m_product);
    texts->addWidget(version);
    texts->addWidget(copyright);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
}
