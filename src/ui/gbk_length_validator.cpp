#include "ui/gbk_length_validator.h"

#include "core/gbk_text.h"

GbkLengthValidator::GbkLengthValidator(int maxBytes, QObject* parent)
    : QValidator(parent), maxBytes_(maxBytes) {}

QValidator::State GbkLengthValidator::validate(QString& input, int&) const {
    return gbkByteLength(input) <= maxBytes_ ? Acceptable : Invalid;
}

void GbkLengthValidator::fixup(QString& input) const {
    while (!input.isEmpty() && gbkByteLength(input) > maxBytes_)
        input.chop(input.size() >= 2 && input.back().isLowSurrogate() ? 2 : 1);
}
