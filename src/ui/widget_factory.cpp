#include "ui/widget_factory.h"

#include "ui/gbk_length_validator.h"

#include <QScrollBar>

QComboBox* makeCombo(QWidget* p, const char* name, bool listOnly) {
    auto* box = named(new QComboBox(p), name);
    box->setEditable(!listOnly);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    return box;
}

void fillCombo(QComboBox* box, const QStringList& items, int selected) {
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(selected);
}

QStringList addressItems() {
    QStringList items{QStringLiteral("通用地址")};
    for (int a = 1; a <= 255; ++a)
        items << QStringLiteral("地址") + QString::number(a);
    return items;
}

void keepLastValidSelection(QComboBox* box) {
    if (!box->lineEdit())
        return;
    QObject::connect(box->lineEdit(), &QLineEdit::editingFinished, box, [box] {
        const int i = box->findText(box->currentText(), Qt::MatchExactly);
        if (i >= 0)
            box->setCurrentIndex(i);
        else
            box->setEditText(box->itemText(box->currentIndex()));
    });
}

void setTextColor(QWidget* w, const QColor& color) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, color);
    pal.setColor(QPalette::Text, color);
    w->setPalette(pal);
}

void giveVerticalScrollBar(QPlainTextEdit* memo) {
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void limitGbkBytes(QLineEdit* edit, int maxBytes) {
    edit->setMaxLength(maxBytes); // a GBK byte count is never below the character count
    edit->setValidator(new GbkLengthValidator(maxBytes, edit));
}

QFont statusFont() {
    QFont f;
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                   QStringLiteral("Noto Sans CJK SC")});
    f.setPointSize(10);
    return f;
}
