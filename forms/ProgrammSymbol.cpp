#include "forms/ProgrammSymbol.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// Not kept in a static: pixmaps must not outlive the application.
QIcon ProgrammSymbol()
{
    QIcon icon;
    // Drawn from the bundled SVG here, so no icon-engine plugin has to be installed.
    QSvgRenderer renderer(QStringLiteral(":/zupfwerk/de.zupfwerk.Zupfwerk.svg"));
    if (!renderer.isValid())
        return icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
