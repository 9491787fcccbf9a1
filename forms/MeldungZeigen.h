#pragma once

#include <functional>

#include <QString>

class QWidget;

// One question to the user, as a test sees it instead of a window.
struct MeldungsAnfrage
{
    int symbol = 0;
    QString meldung;
    QString titel;
    int knopfsatz = 0;
    // True for the platform's plain box (OK only, no icon) behind the model's EinfacheMeldung;
    // symbol and knopfsatz are then -1.
    bool einfach = false;
};

// Answers a question without showing a window; returns the result a button would have given.
using MeldungsAntwort = std::function<int(const MeldungsAnfrage&)>;

// Installs answer (empty: show real windows again) and returns the previous one.
MeldungsAntwort SetzeMeldungsAntwort(MeldungsAntwort answer);

// Shows TF_Msg modally with the program name "Zupfwerk" and returns its result: 6 yes/ok, 7 no,
// 2 cancel or closed.
int MeldungZeigen(QWidget* owner, int symbol, const QString& meldung, const QString& titel, int knopfsatz);

// The toolkit's standard error box (caption "Zupfwerk", OK only); through the same seam, with
// einfach set and symbol 1.
void FehlerMeldungZeigen(const QString& meldung);

// Makes the model's EinfacheMeldung show the platform's plain message box.
void EinfacheMeldungAnbinden();
