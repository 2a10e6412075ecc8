#include "ui/page.h"

#include "commands/entry_refused.h"
#include "link/link_port.h"
#include "ui/message_box.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QProgressBar>

void PageContext::setStatusText(const QString& text) const {
    if (statusLine)
        statusLine->setPlainText(text);
}

int PageContext::address() const {
    return addressBox ? addressBox->currentIndex() : 0;
}

bool PageContext::send(const QString& waitingText, const std::function<HexText()>& build) const {
    QWidget* parent = statusLine ? statusLine->window() : nullptr;
    HexText frame;
    try {
        frame = build();
    } catch (const ConversionError& e) {
        showMessage(parent, e.message());
        return false;
    } catch (const EntryRefused& e) {
        showMessage(parent, e.message());
        return false;
    }
    setStatusText(waitingText);
    if (exchangeProgress)
        exchangeProgress->setValue(0);
    if (link)
        link->sendCommand(frame);
    return true;
}

void PageContext::answered() const {
    if (exchangeProgress)
        exchangeProgress->setValue(exchangeProgress->maximum());
}

void PageContext::answered(const QString& text) const {
    answered();
    setStatusText(text);
}

bool PageContext::gprsModel() const {
    return status && status->isGprsModel();
}

Page::Page(const PageContext& context, const char* name, QWidget* parent)
    : QWidget(parent), m_context(context) {
    setObjectName(QString::fromLatin1(name));
}
