#include "ui/gbk_length_validator.h"

#include "core/gbk_text.h"

GbkLengthValidator::GbkLengthValidator(int maxBytes, QObject* parent)
    : QValidator(parent), m_maxBytes(maxBytes) {}

QValidator::State GbkLengthValidator::validate(QString& input, int&) const {
    return gbkByteLength(input) <= m_maxBytes ? Acceptable : Invalid;
}

void GbkLengthValidator::fixup(QString& input) const {
    while (!input.isEmpty() && gbkByteLength(input) > m_maxBytes)
        input.chop(input.size() >= 2 && input.back().isLowSurrogate() ? 2 : 1);
}
