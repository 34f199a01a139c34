#pragma once
// The address control of the dialogs: four decimal fields of 0..255 separated by dots, any of which
// may be left empty while typing (the dialogs' checks tell "not all fields filled" apart). A keystroke
// that would make anything else is refused, and the field says why (tooltip).

#include <QLineEdit>

#include "dialogs/common/address_checks.h"

class CIpAddressEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CIpAddressEdit(QWidget* parent = nullptr);
    // The fields as typed (always parseable: the validator admits nothing else).
    Ipv4Fields Fields() const;
    // Shows a dotted address read from the device (a malformed one leaves the control empty).
    void SetAddress(const QString& dotted);
    // Tells the user why the last keystroke was refused (the validator's reason).
    void SayRefused(const QString& why);
};
