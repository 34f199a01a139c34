#pragma once
// A "From Port" / "To Port" pair of combo boxes with the rules every range dialog shares: a new From
// port moves To to the same port; a To port below From is refused with "'To Port' can not be smaller
// than 'From Port'" and set back to From. The dialog lays the two combos out and labels them.

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QComboBox;
class QWidget;

class CPortRange : public QObject {
    Q_OBJECT
public:
    // Fills both combos with ports first..last (text by `itemText`, plain numbers by default), From on
    // the first port and To on the last.
    CPortRange(QComboBox* from, QComboBox* to, int firstPort, int lastPort, QWidget* dialog,
               std::function<QString(int port)> itemText = {});

    // Offers `ports` (ascending) instead, From on the first and To on the last; the same ports again
    // change nothing, so the user's choice stays.
    void SetPorts(const std::vector<int>& ports);

    int From() const;
    int To() const;
    // Selects both ends without the checks (a list row was chosen).
    void Select(int from, int to);

private:
    void OnFromChanged();
    void OnToChanged();

    QComboBox* m_from;
    QComboBox* m_to;
    QWidget* m_dialog;
    std::function<QString(int port)> m_itemText;
    std::vector<int> m_ports;
    bool m_quiet = false;
};

inline constexpr const char* kToPortSmallerText = "'To Port' can not be smaller than 'From Port'";
