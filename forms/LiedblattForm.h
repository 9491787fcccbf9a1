#pragma once

#include <QDialog>

#include "chordpro/Liedblatt.h"

class QCheckBox;
class QLabel;
class QSpinBox;

// The choices of a song sheet: transposing, capo, how grips are chosen, fingers in the {define} block.
class TF_LiedblattForm : public QDialog
{
    Q_OBJECT

public:
    // titel and akkorde describe the song: its title and its chord names in order.
    TF_LiedblattForm(QWidget* parent, const QString& titel, const QString& akkorde);

    LiedblattEinstellung einstellung() const;
    bool mitFingern() const;

    QSpinBox* SE_Transponieren = nullptr;
    QSpinBox* SE_Kapo = nullptr;
    QCheckBox* CB_ErsterGriff = nullptr;
    QCheckBox* CB_Finger = nullptr;
};
