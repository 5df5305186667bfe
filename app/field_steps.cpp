#include "app/field_steps.h"

#include "app/message_box.h"
#include "engine/generate_checks.h"
#include "engine/text_conversion.h"

#include <QLineEdit>
#include <QLocale>

#include <limits>

namespace tavrin {

char decimalSeparator() {
    const QString point = QLocale().decimalPoint();
    // A separator outside ASCII cannot be typed into the byte-wise conversion; fall back.
    if (point.size() == 1 && point.at(0).unicode() < 0x80) {
        return point.at(0).toLatin1();
    }
    return '.';
}

std::string fieldText(const QLineEdit* field) {
    return field->text().toStdString();
}

QString formatFieldReal(double value) {
    QString text = QString::fromStdString(formatReal(value));
    const QChar separator = QLatin1Char(decimalSeparator());
    // The C library may already have written the locale's separator; either way the field gets
    // the one the program reads back.
    text.replace(QLatin1Char('.'), separator);
    text.replace(QLatin1Char(','), separator);
    return text;
}

void FieldReader::report(const std::string& message) const {
    m_messages.show(m_parent, QString::fromLatin1(kIntegerErrorTitle),
                    QString::fromStdString(message));
}

std::optional<std::int32_t> FieldReader::integer(const QLineEdit* field) const {
    const std::string text = fieldText(field);
    const auto value = parseInteger(text);
    if (!value) {
        report(invalidIntegerMessage(text));
    }
    return value;
}

std::optional<long double> FieldReader::real(const QLineEdit* field) const {
    const std::string text = fieldText(field);
    const auto value = parseExtended(text, decimalSeparator());
    if (!value) {
        report(invalidRealMessage(text, decimalSeparator()));
    }
    return value;
}

void writeReal(QLineEdit* field, long double value) {
    field->setText(formatFieldReal(static_cast<double>(value)));
}

void stepInteger(const FieldReader& read, QLineEdit* field,
                 const std::function<bool(std::int32_t)>& condition, std::int32_t delta) {
    const auto value = read.integer(field);
    if (!value || !condition(*value)) {
        return;
    }
    const std::int64_t result = static_cast<std::int64_t>(*value) + delta;
    if (result < std::numeric_limits<std::int32_t>::min()
        || result > std::numeric_limits<std::int32_t>::max()) {
        return;
    }
    field->setText(QString::number(result));
}

void stepFractionUp(const FieldReader& read, QLineEdit* field) {
    const auto value = read.real(field);
    if (value && *value < 1.0L) {
        writeReal(field, *value + static_cast<long double>(kFractionStep));
    }
}

void stepFractionDown(const FieldReader& read, QLineEdit* field) {
    const auto value = read.real(field);
    if (!value) {
        return;
    }
    if (*value > static_cast<long double>(kFractionStep)) {
        writeReal(field, *value - static_cast<long double>(kFractionStep));
    } else {
        field->setText(QStringLiteral("0"));
    }
}

} // namespace tavrin
