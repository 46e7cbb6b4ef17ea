#include "ui/mainwindow/BodyBox.h"

#include <QKeyEvent>
#include <QMimeData>

namespace {

// The text a key puts into the box; empty for keys that only move or command.
QString TypedText(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return QStringLiteral("\n");
    if (event.modifiers() & Qt::ControlModifier)
        return {};
    const QString text = event.text();
    for (const QChar c : text)
        if (!c.isPrint())
            return {};
    return text;
}

} // namespace

QString BodyBox::Rest() const
{
    QTextCursor cursor = textCursor();
    QString text = toPlainText();
    return text.remove(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
}

void BodyBox::keyPressEvent(QKeyEvent* event)
{
    const QString typed = TypedText(*event);
    if (!typed.isEmpty() && Pass(typed) != typed) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void BodyBox::inputMethodEvent(QInputMethodEvent* event)
{
    // Only the confirmed text counts; the composition goes on as it was.
    const QString committed = event->commitString();
    const QString passed = committed.isEmpty() ? committed : Pass(committed);
    if (passed == committed) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(passed, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
}

void BodyBox::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QString offered = source->text();
    offered.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    offered.replace(u'\r', u'\n');
    QMimeData passed;
    passed.setText(Pass(offered));
    QPlainTextEdit::insertFromMimeData(&passed);
}
