#pragma once

#include <QString>
#include <stdexcept>

// Raised when text that must be a number is not one (an operator's entry, a hex pair).
// Handlers catch it, show message() in one message box and send nothing.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& offendingText);

    const QString& offendingText() const { return m_text; }
    // “12a”不是有效的整数
    QString message() const;

private:
    QString m_text;
};
