#include "tests/app/TestFenster.h"

#include <QDir>
#include <QFile>

#include "app/MainForm.h"
#include "forms/QtTranslations.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"

const QString defaultTableName = QStringLiteral("Gitarre, E-A-D-G-H-E.cho");

TestFenster::TestFenster()
{
    loadQtGermanTranslations();
    m_previousDir = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    QFile::copy(QStringLiteral(ZW_DEFAULT_TABLE), m_dir.filePath(defaultTableName));
    SetzeMeldungsAntwort([this](const MeldungsAnfrage& anfrage) {
        asked << anfrage;
        return answers.isEmpty() ? 6 : answers.takeFirst();
    });
}

TestFenster::~TestFenster()
{
    m_window.reset();
    SetzeMeldungsAntwort(nullptr);
    QDir::setCurrent(m_previousDir);
}

TF_Main& TestFenster::start()
{
    m_window = std::make_unique<TF_Main>(m_dir.filePath(QStringLiteral("Zupfwerk.ini")));
    m_window->show();
    return *m_window;
}

void TestFenster::stop()
{
    m_window.reset();
}

QString TestFenster::iniText() const
{
    QFile file(m_dir.filePath(QStringLiteral("Zupfwerk.ini")));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

void TestFenster::writeIni(const QByteArray& text) const
{
    QFile file(m_dir.filePath(QStringLiteral("Zupfwerk.ini")));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text);
}

void setGrip(AkkordDepotClass& doc, const char* frets, const char* fingers)
{
    doc.Loeschen();
    for (int s = 1; s <= 6; ++s) {
        const char c = frets[s - 1];
        if (c == '0')
            doc.LeerSetzen(s, true);
        else if (c != 'x')
            doc.FingerSetzen(c - '0', s, fingers[s - 1] - '0');
    }
}

void smallCatalogue(AkkordDepotClass& doc)
{
    struct Type
    {
        const char* name;
        int third;
        int extra;
    };
    const Type types[] = {{"", 3, -1}, {"m", 2, -1}, {"6", 3, 8}, {"m7", 2, 9}};
    doc.Zuruecksetzen(true);
    for (const Type& type : types) {
        doc.TypZufuegen();
        const int t = doc.TypAnzahl() - 1;
        doc.TypUmbenennen(t, type.name);
        doc.IntervallZufuegen(t, type.third, false);
        // The fifth is optional but in the sixth chord, which without it would take every minor triad.
        doc.IntervallZufuegen(t, 6, type.extra != 8);
        if (type.extra >= 0)
            doc.IntervallZufuegen(t, type.extra, false);
    }
}

QPoint spotCentre(TF_Main& window, int bund, int saite)
{
    const TF_Main::Fangrechteck area = window.Fangbereich(bund - window.zeichner().GetStartbund() + 1, saite);
    return QPoint((area.left + area.right) / 2, (area.top + area.bottom) / 2);
}
