#include "forms/Cp1252Eingabe.h"

#include <QPlainTextEdit>
#include <QStringView>
#include <QTextCursor>
#include <QTextDocument>

#include "theory/Zeichensatz.h"

namespace {

// Zero terminates the model's texts, and a lone surrogate is no character at all.
bool holdable(char32_t codePoint)
{
    return codePoint != 0 && codePoint <= 0x10FFFF && cp1252CanHold(codePoint);
}

// Length in UTF-16 units of the code point at index i, and the code point itself.
int codePointAt(QStringView text, qsizetype i, char32_t& codePoint)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        codePoint = QChar::surrogateToUcs4(c, text[i + 1]);
        return 2;
    }
    codePoint = c.isSurrogate() ? 0x110000 : c.unicode();
    return 1;
}

void stripUnholdable(QTextDocument* document, const QString& text)
{
    // Plain-text positions map one to one onto the characters of toPlainText().
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    qsizetype removed = 0;
    for (qsizetype i = 0; i < text.size();) {
        char32_t codePoint = 0;
        const int length = codePointAt(text, i, codePoint);
        if (!holdable(codePoint)) {
            cursor.setPosition(static_cast<int>(i - removed));
            cursor.setPosition(static_cast<int>(i - removed + length), QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            removed += length;
        }
        i += length;
    }
    cursor.endEditBlock();
}

} // namespace

Cp1252Eingabe::Cp1252Eingabe(QObject* parent) : QValidator(parent) {}

QValidator::State Cp1252Eingabe::validate(QString& input, int& /*pos*/) const
{
    return passt(input) ? Acceptable : Invalid;
}

bool Cp1252Eingabe::passt(QStringView text)
{
    for (qsizetype i = 0; i < text.size();) {
        char32_t codePoint = 0;
        i += codePointAt(text, i, codePoint);
        if (!holdable(codePoint))
            return false;
    }
    return true;
}

void nurCp1252(QPlainTextEdit* memo)
{
    // The removal is an undo step of its own, right after the edit that brought the characters in. An
    // undo or redo that lands between the two steps goes one step further, so one undo takes back the
    // whole edit instead of bringing the characters back only to lose them again.
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [memo, undoSteps = 0]() mutable {
        QTextDocument* document = memo->document();
        const QString text = document->toPlainText();
        const int steps = document->availableUndoSteps();
        if (!Cp1252Eingabe::passt(text)) {
            // Queued: an undo inside the undo that emitted this signal would confuse its cursor.
            if (steps < undoSteps && document->isUndoAvailable())
                QMetaObject::invokeMethod(memo, &QPlainTextEdit::undo, Qt::QueuedConnection);
            else if (steps > undoSteps && document->isRedoAvailable())
                QMetaObject::invokeMethod(memo, &QPlainTextEdit::redo, Qt::QueuedConnection);
            else
                stripUnholdable(document, text);
        }
        undoSteps = document->availableUndoSteps();
    });
}
