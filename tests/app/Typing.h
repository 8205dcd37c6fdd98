#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

namespace glyfora::app::testing {

// Replaces the field's text by typing, as a user who selected it all would. One key press per
// character with its text carried as it is: QTest's key clicks take Latin-1 only.
inline void TypeInto(QSpinBox* field, const QString& text) {
    auto* editor = field->findChild<QLineEdit*>();
    editor->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(editor, Qt::Key_Delete);
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, length));
        QApplication::sendEvent(editor, &press);
        i += length - 1;
    }
}

} // namespace glyfora::app::testing
