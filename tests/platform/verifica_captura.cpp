// Checks a screenshot of the running gadget taken under an X server without
// a compositor and with a white root window. Places are in logical pixels;
// the scale turns them into the screenshot's pixels.
//   verifica_captura cantos PNG ESCALA X Y L A RAIO [cima|baixo|todos]
//     no black pixel in the rounded corners of the rectangle, whose very
//     corner shows the desktop
//   verifica_captura beiras PNG ESCALA X Y L A [baixo]
//     no line along the top and right edges of the chart at that rectangle,
//     and the bottom edge when asked (where no control stands on it): each
//     edge row or column looks like the view a few pixels inside it
#include <QCoreApplication>
#include <QImage>
#include <QRect>
#include <cstdio>
#include <cstdlib>

namespace {

// A 3-pixel step across the view's gradient changes the grey by 1 or 2.
constexpr int DIFERENCA_BEIRA = 4;

bool Preto(QRgb p)
{
    return qRed(p) < 0x30 && qGreen(p) < 0x30 && qBlue(p) < 0x30;
}

int Cantos(const QImage& img, qreal e, const QRect& r, int raio, const QString& quais)
{
    const int lado = qRound(raio * e);
    const QRect d(qRound(r.x() * e), qRound(r.y() * e), qRound(r.width() * e),
                  qRound(r.height() * e));
    struct Canto {
        const char* nome;
        QPoint origem;
        bool cima;
    };
    const Canto cantos[] = {
        {"top left", d.topLeft(), true},
        {"top right", QPoint(d.right() + 1 - lado, d.top()), true},
        {"bottom left", QPoint(d.left(), d.bottom() + 1 - lado), false},
        {"bottom right", QPoint(d.right() + 1 - lado, d.bottom() + 1 - lado), false},
    };
    int falhas = 0;
    for (const Canto& c : cantos) {
        if ((quais == QLatin1String("cima") && !c.cima)
            || (quais == QLatin1String("baixo") && c.cima))
            continue;
        int pretos = 0;
        for (int y = c.origem.y(); y < c.origem.y() + lado; ++y)
            for (int x = c.origem.x(); x < c.origem.x() + lado; ++x)
                pretos += Preto(img.pixel(x, y));
        const QPoint ponta(c.origem.x() + (c.origem.x() == d.left() ? 0 : lado - 1),
                           c.origem.y() + (c.cima ? 0 : lado - 1));
        const bool desktop = qGray(img.pixel(ponta)) > 0xF0;
        std::printf("%s %s: %d black pixels, corner %s\n", pretos || !desktop ? "FAIL" : "ok",
                    c.nome, pretos, desktop ? "shows the desktop" : "is painted");
        falhas += pretos > 0 || !desktop;
    }
    return falhas;
}

// The greatest difference in grey, over an edge, between the edge's pixels
// and those a few pixels further in.
int Beiras(const QImage& img, qreal e, const QRect& r, bool base)
{
    const QRect d(qRound(r.x() * e), qRound(r.y() * e), qRound(r.width() * e),
                  qRound(r.height() * e));
    const int dentro = qRound(3 * e);
    const int margem = qRound(15 * e); // clear of the rounded corners
    struct Beira {
        const char* nome;
        QPoint inicio;
        QPoint passo;
        QPoint interno;
        int comprimento;
    };
    const Beira beiras[] = {
        {"top", d.topLeft() + QPoint(margem, 0), {1, 0}, {0, dentro}, d.width() - 2 * margem},
        {"right", d.topRight() + QPoint(0, margem), {0, 1}, {-dentro, 0}, d.height() / 2},
        // Left of the branch name, which stands over the bottom edge.
        {"bottom",
         d.bottomLeft() + QPoint(margem, 0),
         {1, 0},
         {0, -dentro},
         d.width() / 4 - margem},
    };
    int falhas = 0;
    for (const Beira& b : beiras) {
        if (!base && b.passo.y() == 0 && b.interno.y() < 0)
            continue;
        int maior = 0;
        for (int i = 0; i < b.comprimento; ++i) {
            const QPoint p = b.inicio + b.passo * i;
            maior =
                std::max(maior, std::abs(qGray(img.pixel(p)) - qGray(img.pixel(p + b.interno))));
        }
        std::printf("%s %s edge: differs from the inside by up to %d\n",
                    maior > DIFERENCA_BEIRA ? "FAIL" : "ok", b.nome, maior);
        falhas += maior > DIFERENCA_BEIRA;
    }
    return falhas;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 8) {
        std::fprintf(stderr, "usage: see the source\n");
        return 2;
    }
    const QImage img(a[2]);
    if (img.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(a[2]));
        return 2;
    }
    const qreal escala = a[3].toDouble();
    const QRect r(a[4].toInt(), a[5].toInt(), a[6].toInt(), a[7].toInt());
    if (a[1] == QLatin1String("cantos") && a.size() >= 9)
        return Cantos(img, escala, r, a[8].toInt(), a.value(9, QStringLiteral("todos"))) ? 1 : 0;
    if (a[1] == QLatin1String("beiras"))
        return Beiras(img, escala, r, a.value(8) == QLatin1String("baixo")) ? 1 : 0;
    std::fprintf(stderr, "unknown check %s\n", qPrintable(a[1]));
    return 2;
}
