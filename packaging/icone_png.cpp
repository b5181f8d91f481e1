// Renders an SVG icon into square PNG files for the icon theme:
//   icone_png ICON.svg OUTPUT_FOLDER SIZE...
// writes OUTPUT_FOLDER/<SIZE>/<icon name>.png for each size.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: icone_png ICON.svg OUTPUT_FOLDER SIZE...\n");
        return 2;
    }
    QSvgRenderer desenho(args[1]);
    if (!desenho.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    const QString nome = QFileInfo(args[1]).completeBaseName() + QStringLiteral(".png");
    for (const QString& texto : args.mid(3)) {
        const int lado = texto.toInt();
        QImage imagem(lado, lado, QImage::Format_ARGB32_Premultiplied);
        imagem.fill(Qt::transparent);
        QPainter pintor(&imagem);
        desenho.render(&pintor);
        pintor.end();
        const QString pasta = args[2] + u'/' + texto;
        if (lado <= 0 || !QDir().mkpath(pasta) || !imagem.save(pasta + u'/' + nome)) {
            std::fprintf(stderr, "cannot write %s/%s\n", qPrintable(pasta), qPrintable(nome));
            return 1;
        }
    }
    return 0;
}
