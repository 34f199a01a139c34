#include "dialogs/common/ip_address_edit.h"

#include <QValidator>

namespace {

class Ipv4Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return ParseIpv4Fields(input.toStdString()) ? Acceptable : Invalid;
    }
};

}  // namespace

CIpAddressEdit::CIpAddressEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new Ipv4Validator(this));
    setPlaceholderText(QStringLiteral("0.0.0.0"));
    setMaxLength(15);
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000.000.000.000")) + 16);
}

Ipv4Fields CIpAddressEdit::Fields() const {
    return ParseIpv4Fields(text().toStdString()).value_or(Ipv4Fields{});
}

void CIpAddressEdit::SetAddress(const QString& dotted) {
    setText(ParseIpv4Fields(dotted.toStdString()) ? dotted : QString());
}
