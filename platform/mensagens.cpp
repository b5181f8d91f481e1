#include "platform/mensagens.h"

#include "base/erro.h"

#include <QFile>
#include <QList>
#include <QMessageBox>
#include <QPair>
#include <QScopeGuard>

namespace plataforma {

namespace {

QString Titulo(TCaixa caixa)
{
    return caixa == TCaixa::Aviso ? QStringLiteral("Warning") : QString();
}

bool GravarNoLog(TCaixa caixa, const QString& texto, const QString& motivo)
{
    const QString caminho = qEnvironmentVariable("VANTREL_MESSAGE_LOG");
    if (caminho.isEmpty())
        return false;
    QFile log(caminho);
    if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        QString registro = Titulo(caixa) + u'\n' + texto + u'\n';
        if (!motivo.isEmpty())
            registro += QStringLiteral("Motivo: ") + motivo + u'\n';
        log.write((registro + QStringLiteral("--\n")).toUtf8());
    }
    return true;
}

} // namespace

void MostrarMensagem(TCaixa caixa, const QString& texto, const QString& motivo)
{
    // A box waits for its "OK" with the event loop turning: a refresh that
    // fails the same way meanwhile does not stack a second one on it.
    static QList<QPair<TCaixa, QString>> abertas;
    const QPair<TCaixa, QString> estaCaixa(caixa, texto);
    if (abertas.contains(estaCaixa))
        return;
    abertas.append(estaCaixa);
    const auto fechada = qScopeGuard([&] { abertas.removeOne(estaCaixa); });

    if (Ganchos().mensagem) {
        Ganchos().mensagem(caixa, texto);
        return;
    }
    if (GravarNoLog(caixa, texto, motivo))
        return;
    QMessageBox caixaMsg(caixa == TCaixa::Aviso ? QMessageBox::Warning : QMessageBox::NoIcon,
                         Titulo(caixa), texto, QMessageBox::Ok);
    caixaMsg.exec();
}

void MostrarErro(std::exception_ptr erro)
{
    QString texto;
    try {
        std::rethrow_exception(erro);
    } catch (const TErro& e) {
        texto = e.Texto();
    } catch (const std::exception& e) {
        texto = QString::fromLocal8Bit(e.what());
    } catch (...) {
        texto = QStringLiteral("Erro desconhecido.");
    }
    MostrarMensagem(TCaixa::Nota, texto);
}

} // namespace plataforma
