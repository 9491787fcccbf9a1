#pragma once

#include <QValidator>

class QPlainTextEdit;

// Refuses a line-edit text that the model's code page (Windows-1252) cannot keep, so nothing is lost
// when the text is stored.
class Cp1252Eingabe : public QValidator
{
    Q_OBJECT

public:
    explicit Cp1252Eingabe(QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;

    // Whether every character of the text has a Windows-1252 byte; the zero byte counts as none.
    static bool passt(QStringView text);
};

// Removes from the memo, as they are typed or pasted, the characters Windows-1252 cannot hold.
void nurCp1252(QPlainTextEdit* memo);
