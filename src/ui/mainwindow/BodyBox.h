#pragma once

#include <QPlainTextEdit>
#include <functional>

// The contents box. Every text the user puts in, typed, confirmed in an input
// method, pasted or dropped, passes a gate first, which may take only its
// start; the texts the program sets pass no gate.
class BodyBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    // Given the text offered (line feeds for line breaks) and the text that
    // stays beside it, returns what goes in.
    using Gate = std::function<QString(const QString& offered, const QString& rest)>;

    explicit BodyBox(QWidget* parent = nullptr) : QPlainTextEdit(parent) {}
    void SetGate(Gate gate) { gate_ = std::move(gate); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // The text without the selection, which the next input replaces.
    QString Rest() const;
    QString Pass(const QString& offered) const { return gate_ ? gate_(offered, Rest()) : offered; }

    Gate gate_;
};
