#include "sales_per_hour/vendas_hora.h"

#include "base/erro.h"
#include "config/config.h"
#include "config/fila_gravacao.h"
#include "config_dialog/frm_configuracao.h"
#include "data/conexao.h"
#include "data/fila_banco.h"
#include "data/filiais.h"
#include "data/query.h"
#include "frame/eventos.h"
#include "frame/menu_escuro.h"
#include "frame/retangulo.h"
#include "platform/dialogo_arquivo.h"
#include "platform/mensagens.h"
#include "platform/tela.h"
#include "sales_per_hour/copia_tabela.h"
#include "sales_per_hour/exportar_csv.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QSaveFile>
#include <functional>

// The right-click menu of both views and its work, and the branch list on
// the branch labels.

namespace {

// Asks where to save, suggesting nomeSugerido in local, and writes the whole
// file there through escrever, or leaves any file already there as it was.
// The extension of the suggestion is added when the user types a name
// without one.
void SalvaArquivo(QWidget* pai, const QString& titulo, QStandardPaths::StandardLocation local,
                  const QString& nomeSugerido, const QString& filtro,
                  const std::function<bool(QIODevice&)>& escrever)
{
    QString caminho = plataforma::ArquivoParaSalvar(
        pai, titulo, plataforma::CaminhoSugerido(local, nomeSugerido), filtro);
    if (caminho.isEmpty())
        return;
    if (QFileInfo(caminho).suffix().isEmpty())
        caminho += u'.' + QFileInfo(nomeSugerido).suffix();
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly) || !escrever(arquivo) || !arquivo.commit())
        throw TErro(QStringLiteral("Não foi possível salvar o arquivo \"%1\": %2")
                        .arg(QDir::toNativeSeparators(caminho), arquivo.errorString()));
}

} // namespace

void TVendasHora::CriaMenus()
{
    RecebeCliqueDireito(rtgDetalhe);
    RecebeCliqueDireito(rtgResumo);

    FMenuContexto = new TMenuEscuro(frmPrincipal);
    const auto item = [this](const QString& texto, std::function<void()> acao) {
        connect(
            FMenuContexto->addAction(texto), &QAction::triggered, this,
            [acao] { plataforma::Tratando(acao); }, Qt::QueuedConnection);
    };
    item(QStringLiteral("&Copiar tabela"), [this] { CopiaTabela(); });
    item(QStringLiteral("Salvar &imagem…"), [this] { SalvaImagem(FVistaDoMenu); });
    item(QStringLiteral("&Exportar CSV…"), [this] { ExportaCsv(); });
    FMenuContexto->addSeparator();
    AcrescentaAcoesDoFrame(FMenuContexto);
    // A menu that closes away from the gadget leaves it no leave event.
    connect(FMenuContexto, &QMenu::aboutToHide, this, [this] {
        if (!PonteiroSobreOGadget())
            RFecharMouseLeave(FMenuContexto);
    });

    for (QLabel* rotulo : {lblNomeFilialMax, lblNomeFilialMin}) {
        TEventos& eventos = TEventos::De(rotulo);
        eventos.OnMouseDown = [this, arrastar = eventos.OnMouseDown](QObject* s, Qt::MouseButton b,
                                                                     Qt::MouseButtons e, qreal x,
                                                                     qreal y) {
            FPressaoRotulo = plataforma::PosicaoCursor();
            arrastar(s, b, e, x, y);
        };
        eventos.OnClick = [this, rotulo](QObject*) {
            if ((plataforma::PosicaoCursor() - FPressaoRotulo).manhattanLength()
                < QApplication::startDragDistance())
                AbreListaFiliais(rotulo);
        };
        rotulo->setCursor(Qt::PointingHandCursor);
        // The chart's box reaches over it: clicks on its text are the label's.
        rotulo->raise();
    }
}

void TVendasHora::RecebeCliqueDireito(QWidget* Controle)
{
    Controle->installEventFilter(this);
    for (QObject* filho : Controle->children())
        if (auto* controle = qobject_cast<QWidget*>(filho))
            RecebeCliqueDireito(controle);
}

bool TVendasHora::eventFilter(QObject* Objeto, QEvent* Evento)
{
    if (Evento->type() != QEvent::ContextMenu)
        return TGadgetResDet::eventFilter(Objeto, Evento);
    auto* controle = static_cast<QWidget*>(Objeto);
    QWidget* vista = rtgDetalhe->isAncestorOf(controle) || controle == rtgDetalhe
                         ? static_cast<QWidget*>(rtgDetalhe)
                         : static_cast<QWidget*>(rtgResumo);
    const QPoint posicao = static_cast<QContextMenuEvent*>(Evento)->globalPos();
    plataforma::Tratando([&] { AbreMenuContexto(vista, posicao); });
    return true;
}

void TVendasHora::AbreMenuContexto(QWidget* Vista, QPoint Posicao)
{
    FVistaDoMenu = Vista;
    // The table and the CSV need a day read; the picture is of what shows.
    const QList<QAction*> acoes = FMenuContexto->actions();
    acoes[0]->setEnabled(!FDiaDados.isEmpty());
    acoes[2]->setEnabled(!FDiaDados.isEmpty());
    FMenuContexto->popup(Posicao);
}

void TVendasHora::CopiaTabela()
{
    if (FDiaDados.isEmpty())
        return;
    const TIndicadores indicadores = FDados->Indicadores(std::nullopt);
    auto* conteudo = new QMimeData;
    conteudo->setText(TextoTabelaCopia(FDados->CdsTemp(), indicadores));
    conteudo->setHtml(HtmlTabelaCopia(FDados->CdsTemp(), indicadores));
    QGuiApplication::clipboard()->setMimeData(conteudo);
}

void TVendasHora::SalvaImagem(QWidget* Vista)
{
    if (!Vista)
        return;
    // Taken before the dialog: the picture is of the moment asked for, at
    // the screen's pixel ratio, its rounded corners see-through.
    const qreal escala = Vista->devicePixelRatioF();
    QPixmap imagem(Vista->size() * escala);
    imagem.setDevicePixelRatio(escala);
    imagem.fill(Qt::transparent);
    Vista->render(&imagem, QPoint(), QRegion(), QWidget::DrawChildren);
    const QString dia = FDiaDados.isEmpty() ? DataAtual : FDiaDados;
    const QString empresa = FDiaDados.isEmpty() ? FConfig->Empresa() : FEmpresaDados;
    SalvaArquivo(frmPrincipal, QStringLiteral("Salvar imagem"), QStandardPaths::PicturesLocation,
                 NomeArquivoDoDia(DataDoDia(dia), empresa, QStringLiteral("png")),
                 QStringLiteral("Imagem PNG (*.png)"),
                 [&](QIODevice& arquivo) { return imagem.save(&arquivo, "PNG"); });
}

void TVendasHora::ExportaCsv()
{
    if (FDiaDados.isEmpty())
        return;
    // Built before the dialog, from the figures on view: the same bytes as
    // vendas-por-hora-csv --detalhado prints for the day.
    const QByteArray texto = TextoCsvDetalhado(FDados->CdsTemp(), FDados->Indicadores(std::nullopt),
                                               FDados->Comparacao())
                                 .toUtf8();
    SalvaArquivo(frmPrincipal, QStringLiteral("Exportar CSV"), QStandardPaths::DocumentsLocation,
                 NomeArquivoDoDia(DataDoDia(FDiaDados), FEmpresaDados, QStringLiteral("csv")),
                 QStringLiteral("Planilha CSV (*.csv)"),
                 [&](QIODevice& arquivo) { return arquivo.write(texto) == texto.size(); });
}

void TVendasHora::AbreListaFiliais(QLabel* Rotulo)
{
    delete FListaFiliais.data();
    auto* lista = new TMenuEscuro(frmPrincipal);
    FListaFiliais = lista;
    lista->addAction(QStringLiteral("Lendo as filiais…"))->setEnabled(false);
    const auto fecha = [this, lista] {
        if (FLeituraFiliais)
            TFilaBanco::Programa().Abandonar(std::exchange(FLeituraFiliais, 0));
        lista->deleteLater();
        if (!PonteiroSobreOGadget())
            RFecharMouseLeave(lista);
    };
    connect(lista, &QMenu::aboutToHide, this, fecha);

    // Read as the configuration dialog reads them, on the database thread.
    auto filiais = std::make_shared<QList<TFilial>>();
    TConexao* conexao = FConexao;
    FLeituraFiliais = TFilaBanco::Programa().Enfileirar(
        this,
        [filiais, conexao] {
            try {
                conexao->ConectarBanco();
                const TLiberacaoEmbutido liberacao(*conexao);
                TQuery busca(conexao->GetBancoDados(), conexao->GetTransaction());
                *filiais = LerFiliaisAtivas(busca);
            } catch (...) {
                if (TFilaBanco::Programa().AbortouTrabalhoAtual())
                    conexao->Descartar();
                throw;
            }
        },
        [this, lista, filiais](std::exception_ptr erro) {
            FLeituraFiliais = 0;
            if (erro) {
                lista->close();
                plataforma::MostrarErro(erro);
                return;
            }
            lista->clear();
            const QByteArray atual = FConfig->Empresa().isEmpty()
                                         ? QByteArray()
                                         : FConfig->BytesNoArquivo(FConfig->Empresa());
            const auto entrada = [&](const QString& texto, const QByteArray& codigo) {
                QAction* acao = lista->addAction(texto);
                acao->setCheckable(true);
                acao->setChecked(codigo == atual);
                connect(
                    acao, &QAction::triggered, this,
                    [this, codigo] { plataforma::Tratando([&] { EscolheFilial(codigo); }); },
                    Qt::QueuedConnection);
                if (acao->isChecked())
                    lista->setActiveAction(acao);
            };
            entrada(TODAS_AS_FILIAIS, QByteArray());
            for (const TFilial& filial : std::as_const(*filiais))
                entrada(filial.Texto(), filial.Codigo);
        });
    lista->popup(Rotulo->mapToGlobal(QPoint(0, Rotulo->height())));
}

void TVendasHora::EscolheFilial(const QByteArray& Codigo)
{
    if (Codigo.isNull())
        FConfig->setEmpresa(QString());
    else
        FConfig->SetEmpresaDoBanco(Codigo);
    if (FrmConfiguracao)
        FrmConfiguracao->MostraEmpresa(Codigo);
    // The file's code is what the reading uses: the gadget reloads once it
    // is saved, as after the dialog's "Salvar".
    TFilaGravacao::Programa().Salvar(*FConfig, this, [this](std::exception_ptr erro) {
        if (erro)
            plataforma::MostrarErro(erro);
        else
            plataforma::Tratando([this] { IniciarGadget(this); });
    });
}
