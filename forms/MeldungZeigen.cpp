#include "forms/MeldungZeigen.h"

#include <string>
#include <utility>

#include <QMessageBox>

#include "forms/MsgForm.h"
#include "theory/Meldung.h"

namespace {

MeldungsAntwort& installedAnswer()
{
    static MeldungsAntwort answer;
    return answer;
}

void showPlainBox(const std::string& text, const std::string& titel)
{
    const QString qtText = QString::fromStdString(text);
    const QString qtTitel = QString::fromStdString(titel);
    if (const MeldungsAntwort answer = installedAnswer()) {
        answer(MeldungsAnfrage{-1, qtText, qtTitel, -1, true});
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, qtTitel, qtText, QMessageBox::Ok);
    box.exec();
}

} // namespace

MeldungsAntwort SetzeMeldungsAntwort(MeldungsAntwort answer)
{
    return std::exchange(installedAnswer(), std::move(answer));
}

int MeldungZeigen(QWidget* owner, int symbol, const QString& meldung, const QString& titel, int knopfsatz)
{
    if (const MeldungsAntwort answer = installedAnswer())
        return answer(MeldungsAnfrage{symbol, meldung, titel, knopfsatz, false});
    TF_Msg box(owner, symbol, meldung, titel, knopfsatz, QStringLiteral("Zupfwerk"));
    return box.exec();
}

void EinfacheMeldungAnbinden()
{
    SetzeEinfacheMeldung(&showPlainBox);
}

void FehlerMeldungZeigen(const QString& meldung)
{
    const QString titel = QStringLiteral("Zupfwerk");
    if (const MeldungsAntwort answer = installedAnswer()) {
        answer(MeldungsAnfrage{1, meldung, titel, -1, true});
        return;
    }
    QMessageBox::critical(nullptr, titel, meldung);
}
