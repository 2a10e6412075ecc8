#include "core/conversion_error.h"

ConversionError::ConversionError(const QString& offendingText)
    : std::runtime_error(offendingText.toStdString()), m_text(offendingText) {}

QString ConversionError::message() const {
    return QStringLiteral("“%1”不是有效的整数").arg(m_text);
}
