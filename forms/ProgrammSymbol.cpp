#include "forms/ProgrammSymbol.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QIcon ProgrammSymbol()
{
    static const QIcon icon = [] {
        QIcon built;
        // Drawn from the bundled SVG here, so no icon-engine plugin has to be installed.
        QSvgRenderer renderer(QStringLiteral(":/zupfwerk/de.zupfwerk.Zupfwerk.svg"));
        if (!renderer.isValid())
            return built;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            renderer.render(&painter);
            painter.end();
            built.addPixmap(QPixmap::fromImage(image));
        }
        return built;
    }();
    return icon;
}
