#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;

// The report of a ChordPro import: what was taken over, what was skipped and why, and which names
// differ from what their grips sound. Shown without blocking, it stays open beside the windows.
class TF_ChordProBerichtForm : public QDialog
{
    Q_OBJECT

public:
    TF_ChordProBerichtForm(QWidget* parent, const QString& datei, const QString& zusammenfassung,
                           const QStringList& zeilen);

    QStringList zeilen() const { return m_zeilen; }

    QLabel* LB_Zusammenfassung = nullptr;
    QPlainTextEdit* M_Bericht = nullptr;

private:
    QStringList m_zeilen;
};
