#include "ui/message_box.h"

#include <QMessageBox>

std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const QString& text) {
    return std::make_unique<QMessageBox>(QMessageBox::NoIcon, QStringLiteral("Korvel"), text, QMessageBox::Ok,
                                         parent);
}

namespace {

void modalBox(QWidget* parent, const QString& text) {
    makeMessageBox(parent, text)->exec();
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
