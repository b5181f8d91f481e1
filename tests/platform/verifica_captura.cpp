// Checks a screenshot of the running gadget taken under an X server with a
// white root window, or under a compositor. Places are in logical pixels;
// the scale turns them into the screenshot's pixels.
//   verifica_captura cantos PNG ESCALA X Y L A RAIO [cima|baixo|todos]
//     no black pixel in the rounded corners of the rectangle, whose very
//     corner shows the desktop beside it
//   verifica_captura suaves PNG ESCALA X Y L A RAIO [cima|baixo|todos]
//     each rounded corner has pixels part way between the desktop and the
//     rectangle, as an edge drawn smooth has; a window shape, which keeps a
//     pixel whole or not at all, leaves none
//   verifica_captura beiras PNG ESCALA X Y L A [baixo]
//     no line along the top and right edges of the chart at that rectangle,
//     and the bottom edge when asked (where no control stands on it): each
//     edge row or column looks like the view a few pixels inside it
#include <QCoreApplication>
#include <QImage>
#include <QList>
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

struct Canto {
    const char* nome;
    QPoint origem; // of the corner's square, RAIO on each side
    QPoint ponta; // the very corner
    QPoint fora; // the desktop beside it
    QPoint dentro; // the rectangle, RAIO in from the corner on both axes
    bool cima;
};

// Beside the corner, diagonally out of the rectangle, or straight up or down
// where the rectangle stands against the image's side.
QPoint Fora(const QImage& img, QPoint ponta, QPoint para)
{
    for (const QPoint passo : {para, QPoint(0, para.y()), QPoint(para.x(), 0)})
        if (img.rect().contains(ponta + passo))
            return ponta + passo;
    return ponta;
}

QList<Canto> CantosDe(const QImage& img, const QRect& r, qreal e, int raio, const QString& quais)
{
    const int lado = qRound(raio * e);
    const QRect d(qRound(r.x() * e), qRound(r.y() * e), qRound(r.width() * e),
                  qRound(r.height() * e));
    QList<Canto> cantos;
    for (const bool cima : {true, false})
        for (const bool esquerda : {true, false}) {
            if ((quais == QLatin1String("cima") && !cima)
                || (quais == QLatin1String("baixo") && cima))
                continue;
            const QPoint ponta(esquerda ? d.left() : d.right(), cima ? d.top() : d.bottom());
            const QPoint fora(esquerda ? -2 : 2, cima ? -2 : 2);
            cantos.append({cima ? (esquerda ? "top left" : "top right")
                                : (esquerda ? "bottom left" : "bottom right"),
                           QPoint(esquerda ? d.left() : d.right() + 1 - lado,
                                  cima ? d.top() : d.bottom() + 1 - lado),
                           ponta, Fora(img, ponta, fora), ponta - fora * lado / 2, cima});
        }
    return cantos;
}

int Cantos(const QImage& img, qreal e, const QRect& r, int raio, const QString& quais)
{
    const int lado = qRound(raio * e);
    int falhas = 0;
    for (const Canto& c : CantosDe(img, r, e, raio, quais)) {
        int pretos = 0;
        for (int y = c.origem.y(); y < c.origem.y() + lado; ++y)
            for (int x = c.origem.x(); x < c.origem.x() + lado; ++x)
                pretos += Preto(img.pixel(x, y));
        const bool desktop = std::abs(qGray(img.pixel(c.ponta)) - qGray(img.pixel(c.fora))) <= 8;
        std::printf("%s %s: %d black pixels, corner %s\n", pretos || !desktop ? "FAIL" : "ok",
                    c.nome, pretos, desktop ? "shows the desktop" : "is painted");
        falhas += pretos > 0 || !desktop;
    }
    return falhas;
}

int Suaves(const QImage& img, qreal e, const QRect& r, int raio, const QString& quais)
{
    const int lado = qRound(raio * e);
    int falhas = 0;
    for (const Canto& c : CantosDe(img, r, e, raio, quais)) {
        const int fundo = qGray(img.pixel(c.fora));
        const int vista = qGray(img.pixel(c.dentro));
        if (std::abs(vista - fundo) < 32) {
            std::printf("FAIL %s: the rectangle (%d) looks like the desktop (%d)\n", c.nome, vista,
                        fundo);
            ++falhas;
            continue;
        }
        int meios = 0;
        for (int y = c.origem.y(); y < c.origem.y() + lado; ++y)
            for (int x = c.origem.x(); x < c.origem.x() + lado; ++x) {
                const double f = double(qGray(img.pixel(x, y)) - fundo) / (vista - fundo);
                meios += f > 0.1 && f < 0.6;
            }
        std::printf("%s %s: %d pixels part way between the desktop and the rectangle\n",
                    meios >= 2 ? "ok" : "FAIL", c.nome, meios);
        falhas += meios < 2;
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
    if (a[1] == QLatin1String("suaves") && a.size() >= 9)
        return Suaves(img, escala, r, a[8].toInt(), a.value(9, QStringLiteral("todos"))) ? 1 : 0;
    if (a[1] == QLatin1String("beiras"))
        return Beiras(img, escala, r, a.value(8) == QLatin1String("baixo")) ? 1 : 0;
    std::fprintf(stderr, "unknown check %s\n", qPrintable(a[1]));
    return 2;
}
