#pragma once
// One control per port and row (check boxes or edit boxes), with the port numbers above each column and
// the row labels on the left, sized by the port count. One wrapping rule for every switch: at most 14
// ports on a line, lines of even length (8 ports: one line; 28: two of 14; 52: four of 13).

#include <QString>
#include <QWidget>
#include <vector>

class QCheckBox;
class QLineEdit;

class CPortGrid : public QWidget {
    Q_OBJECT
public:
    enum class Cell { CheckBox, LineEdit };
    struct Row {
        QString label;         // "Tag Ports:"
        QString objectPrefix;  // object names are prefix + port number ("tagPort5")
        Cell cell = Cell::CheckBox;
    };

    CPortGrid(int portCount, std::vector<Row> rows, QWidget* parent = nullptr);

    static int PortsPerLine(int portCount);

    int PortCount() const { return m_portCount; }
    // Port 1..N of row `row`; null when out of range or of the other kind.
    QCheckBox* Box(int row, int port) const;
    QLineEdit* Edit(int row, int port) const;

    // Check box rows: one flag per port (index port - 1).
    std::vector<int> Flags(int row) const;
    void SetFlags(int row, const std::vector<int>& flags);

signals:
    // A user's click on a check box (after Qt toggled it).
    void BoxClicked(int row, int port, bool checked);
    // Every change of an edit box's text.
    void EditChanged(int row, int port, const QString& text);

private:
    int m_portCount;
    std::vector<Row> m_rows;
    std::vector<std::vector<QWidget*>> m_cells;  // [row][port - 1]
};
