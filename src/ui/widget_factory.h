#pragma once

// Small helpers that create a control with its name (the objectName tests find it by).

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

template <class W> W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

inline QLabel* makeLabel(QWidget* p, const char* name) {
    return named(new QLabel(p), name);
}
inline QPushButton* makeButton(QWidget* p, const char* name, const QString& caption) {
    return named(new QPushButton(caption, p), name);
}
inline QLineEdit* makeEdit(QWidget* p, const char* name, const QString& text = {}) {
    return named(new QLineEdit(text, p), name);
}
inline QGroupBox* makeGroup(QWidget* p, const char* name, const QString& title) {
    return named(new QGroupBox(title, p), name);
}
inline QCheckBox* makeCheck(QWidget* p, const char* name, const QString& caption) {
    return named(new QCheckBox(caption, p), name);
}
inline QRadioButton* makeRadio(QWidget* p, const char* name, const QString& caption) {
    return named(new QRadioButton(caption, p), name);
}
inline QPlainTextEdit* makeMemo(QWidget* p, const char* name) {
    return named(new QPlainTextEdit(p), name);
}
// A combo box that also accepts typed text (typed text never becomes a new item) or,
// with listOnly, only its items.
QComboBox* makeCombo(QWidget* p, const char* name, bool listOnly = false);

// Clears a list, fills it and selects its start item.
void fillCombo(QComboBox* box, const QStringList& items, int selected);
// Items "通用地址", "地址1" … "地址255": the item index is the address byte.
QStringList addressItems();
// A typed text that names no item does not change the selection: the box shows the
// text of the last valid item again when editing ends.
void keepLastValidSelection(QComboBox* box);
// Blue text, as the notes of the window are drawn.
void setTextColor(QWidget* w, const QColor& color);
// A scroll bar that is always there, as the memos show it.
void giveVerticalScrollBar(QPlainTextEdit* memo);
// Limits the text to maxBytes GBK bytes (the width of the field it is sent in).
void limitGbkBytes(QLineEdit* edit, int maxBytes);
// "宋体" 10 points, the status and monitor font.
QFont statusFont();
