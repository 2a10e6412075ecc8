#pragma once

#include <QString>

#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

// Confirmations and refusals with one OK button. Everything goes through showMessage so
// that tests can take the place of the modal box.
using MessageHandler = std::function<void(QWidget* parent, const QString& text)>;

void showMessage(QWidget* parent, const QString& text);
// Installs a handler (an empty one restores the modal box); returns the previous one.
MessageHandler setMessageHandler(MessageHandler handler);

// The box showMessage shows: one OK button, which reads in the window's language once its
// translations are installed.
std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const QString& text);
