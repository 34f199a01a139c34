#include "dialogs/common/port_grid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kMaxPortsPerLine = 14;
}

int CPortGrid::PortsPerLine(int portCount) {
    if (portCount <= kMaxPortsPerLine) return std::max(portCount, 1);
    const int lines = (portCount + kMaxPortsPerLine - 1) / kMaxPortsPerLine;
    return (portCount + lines - 1) / lines;
}

CPortGrid::CPortGrid(int portCount, std::vector<Row> rows, QWidget* parent)
    : QWidget(parent), m_portCount(std::max(portCount, 0)), m_rows(std::move(rows)), m_cells(m_rows.size()) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    const int perLine = PortsPerLine(m_portCount);
    const int rowsPerBlock = static_cast<int>(m_rows.size()) + 2;  // numbers, the rows, a spacer
    for (int p = 1; p <= m_portCount; ++p) {
        const int block = (p - 1) / perLine;
        const int top = block * rowsPerBlock;
        const int column = 1 + (p - 1) % perLine;
        if (column == 1) {
            for (std::size_t r = 0; r < m_rows.size(); ++r)
                grid->addWidget(new QLabel(m_rows[r].label, this), top + 1 + static_cast<int>(r), 0);
            if (block > 0) grid->setRowMinimumHeight(top - 1, 8);
        }
        auto* number = new QLabel(QString::number(p), this);
        number->setObjectName(QStringLiteral("portLabel%1").arg(p));
        number->setAlignment(Qt::AlignCenter);
        grid->addWidget(number, top, column, Qt::AlignHCenter);
        for (std::size_t r = 0; r < m_rows.size(); ++r) {
            const int row = static_cast<int>(r);
            QWidget* cell = nullptr;
            if (m_rows[r].cell == Cell::CheckBox) {
                auto* box = new QCheckBox(this);
                connect(box, &QCheckBox::clicked, this,
                        [this, row, p](bool checked) { emit BoxClicked(row, p, checked); });
                cell = box;
            } else {
                auto* edit = new QLineEdit(this);
                edit->setAlignment(Qt::AlignCenter);
                edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 14);
                connect(edit, &QLineEdit::textChanged, this,
                        [this, row, p](const QString& text) { emit EditChanged(row, p, text); });
                cell = edit;
            }
            cell->setObjectName(m_rows[r].objectPrefix + QString::number(p));
            cell->setAccessibleName(QStringLiteral("%1 port %2").arg(m_rows[r].label).arg(p));
            grid->addWidget(cell, top + 1 + row, column, Qt::AlignHCenter);
            m_cells[r].push_back(cell);
        }
    }
    grid->setColumnStretch(perLine + 1, 1);
}

QCheckBox* CPortGrid::Box(int row, int port) const {
    if (row < 0 || row >= static_cast<int>(m_cells.size()) || port < 1 || port > m_portCount) return nullptr;
    return qobject_cast<QCheckBox*>(m_cells[row][port - 1]);
}

QLineEdit* CPortGrid::Edit(int row, int port) const {
    if (row < 0 || row >= static_cast<int>(m_cells.size()) || port < 1 || port > m_portCount) return nullptr;
    return qobject_cast<QLineEdit*>(m_cells[row][port - 1]);
}

std::vector<int> CPortGrid::Flags(int row) const {
    std::vector<int> flags(static_cast<std::size_t>(m_portCount), 0);
    for (int p = 1; p <= m_portCount; ++p)
        if (QCheckBox* b = Box(row, p)) flags[p - 1] = b->isChecked() ? 1 : 0;
    return flags;
}

void CPortGrid::SetFlags(int row, const std::vector<int>& flags) {
    for (int p = 1; p <= m_portCount; ++p)
        if (QCheckBox* b = Box(row, p)) b->setChecked(p <= static_cast<int>(flags.size()) && flags[p - 1]);
}
