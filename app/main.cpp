#include <QApplication>
#include <QMessageBox>

#include <exception>

#include "app/MainForm.h"
#include "forms/MeldungZeigen.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zupfwerk"));
    try {
        EinfacheMeldungAnbinden();
        TF_Main window(QCoreApplication::applicationDirPath() + QStringLiteral("/Zupfwerk.ini"));
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Zupfwerk"), QString::fromLocal8Bit(error.what()));
        return 1;
    }
}
