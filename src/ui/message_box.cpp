#include "ui/message_box.h"

#include <QMessageBox>

namespace {

void modalBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Korvel"), text, QMessageBox::Ok, parent);
    box.exec();
}

MessageHandler& handler() {
    static MessageHandler h = modalBox;
    return h;
}

} // namespace

void showMessage(QWidget* parent, const QString& text) {
    handler()(parent, text);
}

MessageHandler setMessageHandler(MessageHandler h) {
    MessageHandler previous = handler();
    handler() = h ? std::move(h) : MessageHandler(modalBox);
    return previous;
}
