#pragma once

#include <QDialog>

#include "chordpro/ChordNames.h"

class QCheckBox;
class QRadioButton;

// The choices of a ChordPro export: fingers or not, and how chord names are spelled.
class TF_ChordProExportForm : public QDialog
{
    Q_OBJECT

public:
    TF_ChordProExportForm(QWidget* parent, int griffAnzahl);

    bool mitFingern() const;
    Tonnamen tonnamen() const;

    QCheckBox* CB_Finger = nullptr;
    QRadioButton* RB_International = nullptr;
    QRadioButton* RB_Tabelle = nullptr;
};
