#include "ui/page.h"

#include <QPlainTextEdit>

void PageContext::setStatusText(const QString& text) const {
    if (statusLine)
        statusLine->setPlainText(text);
}

Page::Page(const PageContext& context, const char* name, QWidget* parent)
    : QWidget(parent), m_context(context) {
    setObjectName(QString::fromLatin1(name));
}
