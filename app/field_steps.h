#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QLineEdit;
class QWidget;

namespace tavrin {

class MessageSink;

// The decimal separator of the user's locale, as the input fields are read with it.
char decimalSeparator();

std::string fieldText(const QLineEdit* field);

// The general real format with the locale's separator ("0.35", "1", "37").
QString formatFieldReal(double value);

// Converts field texts the way the pages read them. A text that does not convert is reported
// ("'abc' is not a valid integer value.", title "Tavrin") and gives nothing.
class FieldReader {
public:
    FieldReader(MessageSink& messages, QWidget* parent) : m_messages(messages), m_parent(parent) {}

    std::optional<std::int32_t> integer(const QLineEdit* field) const;
    // Extended precision, as the steppers compute.
    std::optional<long double> real(const QLineEdit* field) const;

    void report(const std::string& message) const;

private:
    MessageSink& m_messages;
    QWidget* m_parent;
};

// The real steppers' step, held as a double.
inline constexpr double kFractionStep = 0.01;

// The sum rounded to a double, in the general real format.
void writeReal(QLineEdit* field, long double value);

// Adds delta to an integer field when condition holds for its value. A step that would leave
// the 32-bit range does nothing.
void stepInteger(const FieldReader& read, QLineEdit* field,
                 const std::function<bool(std::int32_t)>& condition, std::int32_t delta);

// The fraction steppers (targets, RF, RC, RS): below 1 up by 0.01; above 0.01 down by 0.01,
// otherwise down to "0".
void stepFractionUp(const FieldReader& read, QLineEdit* field);
void stepFractionDown(const FieldReader& read, QLineEdit* field);

} // namespace tavrin
