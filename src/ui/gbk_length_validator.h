#pragma once

#include <QValidator>

// Refuses an edit that would make the text longer than a number of GBK bytes: the
// instrument stores these texts in fixed byte fields, and a Chinese character takes two.
class GbkLengthValidator : public QValidator {
    Q_OBJECT
public:
    GbkLengthValidator(int maxBytes, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    int maxBytes() const { return m_maxBytes; }

private:
    int m_maxBytes;
};
