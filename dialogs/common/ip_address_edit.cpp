#include "dialogs/common/ip_address_edit.h"

#include <QToolTip>
#include <QValidator>

namespace {

class Ipv4Validator : public QValidator {
public:
    explicit Ipv4Validator(CIpAddressEdit* edit) : QValidator(edit), m_edit(edit) {}
    State validate(QString& input, int&) const override {
        std::string refusal;
        if (ParseIpv4Fields(input.toStdString(), &refusal)) return Acceptable;
        m_edit->SayRefused(QString::fromStdString(refusal));
        return Invalid;
    }

private:
    CIpAddressEdit* m_edit;
};

}  // namespace

CIpAddressEdit::CIpAddressEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new Ipv4Validator(this));
    setPlaceholderText(QStringLiteral("0.0.0.0"));
    setMaxLength(15);
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000.000.000.000")) + 16);
    // The reason of a refused keystroke stays until the next keystroke is taken.
    connect(this, &QLineEdit::textEdited, this, [this] { setToolTip(QString()); });
}

void CIpAddressEdit::SayRefused(const QString& why) {
    setToolTip(why);
    if (isVisible()) QToolTip::showText(mapToGlobal(QPoint(0, height())), why, this);
}

Ipv4Fields CIpAddressEdit::Fields() const {
    return ParseIpv4Fields(text().toStdString()).value_or(Ipv4Fields{});
}

void CIpAddressEdit::SetAddress(const QString& dotted) {
    setText(ParseIpv4Fields(dotted.toStdString()) ? dotted : QString());
}
