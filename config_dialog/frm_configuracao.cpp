#include "config_dialog/frm_configuracao.h"

#include "base/conversao.h"
#include "base/dinheiro.h"
#include "base/erro.h"
#include "base/texto.h"
#include "config/config.h"
#include "config/fila_gravacao.h"
#include "config/indicadores.h"
#include "config_dialog/estilo_escuro.h"
#include "config_dialog/fundo_configuracao.h"
#include "data/conexao.h"
#include "data/fila_banco.h"
#include "data/filiais.h"
#include "data/query.h"
#include "frame/fonte_rotulos.h"
#include "frame/gadget.h"
#include "frame/mascara.h"
#include "frame/retangulo.h"
#include "platform/caminhos.h"
#include "platform/mensagens.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QTabWidget>
#include <algorithm>

namespace {

// Where a branch entry keeps its code's bytes, as the database holds them.
constexpr int BYTES_CODIGO = Qt::UserRole + 1;

// The opacity list's entries and the "Transparencia" value of each.
const QStringList OPACIDADES = {QStringLiteral("100%"), QStringLiteral("  80%"),
                                QStringLiteral("  60%"), QStringLiteral("  40%"),
                                QStringLiteral("  20%")};
const QStringList TRANSPARENCIAS = {QStringLiteral("100"), QStringLiteral("80"),
                                    QStringLiteral("60"), QStringLiteral("40"),
                                    QStringLiteral("20")};

// The comparison list's entries, in this order.
const TComparacao COMPARACOES[] = {TComparacao::Nada, TComparacao::SemanaPassada,
                                   TComparacao::Media4Semanas};
const QStringList NOMES_COMPARACOES = {QStringLiteral("Nada"), QStringLiteral("Semana passada"),
                                       QStringLiteral("Média de 4 semanas")};

// The dialog's texts, in Segoe UI on Windows. Elsewhere one family chosen for
// them rather than the system's substitute, which need not fit them (DejaVu
// Sans cuts "Horário de Funcionamento (Horas)"): the labels' Tahoma.
const QStringList FAMILIAS_DIALOGO = {QStringLiteral("Segoe UI"), FONTE_ROTULOS};

QFont FontePadrao()
{
    QFont fonte;
    fonte.setFamilies(FAMILIAS_DIALOGO);
    fonte.setPixelSize(11);
    return fonte;
}

QFont Negrito(QFont fonte)
{
    fonte.setBold(true);
    return fonte;
}

QFont FonteTitulo()
{
    QFont fonte;
    fonte.setFamilies(QStringList{QStringLiteral("Segoe UI Semibold")} + FAMILIAS_DIALOGO);
    fonte.setPixelSize(18);
    fonte.setBold(true);
    return fonte;
}

template <class T>
T* Coloca(T* controle, const char* nome, int x, int y, int largura, int altura)
{
    controle->setObjectName(QLatin1String(nome));
    controle->setGeometry(x, y, largura, altura);
    return controle;
}

QLabel* Rotulo(QWidget* pai, const char* nome, int x, int y, int largura, int altura,
               const QString& texto, const QFont& fonte = Negrito(FontePadrao()))
{
    QLabel* rotulo = Coloca(new QLabel(texto, pai), nome, x, y, largura, altura);
    rotulo->setFont(fonte);
    return rotulo;
}

QSpinBox* Hora(QWidget* pai, const char* nome, int x, int valor)
{
    QSpinBox* spin = Coloca(new TSpinEscuro(pai), nome, x, 75, 65, 22);
    spin->setRange(0, 23);
    spin->setSingleStep(1);
    spin->setValue(valor);
    return spin;
}

// Only what may become an amount in the Brazilian form can be typed; whether
// it is one is checked on saving.
QLineEdit* Valor(QWidget* pai, const char* nome, int x, int y, int largura, int altura)
{
    QLineEdit* campo = Coloca(new QLineEdit(pai), nome, x, y, largura, altura);
    campo->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9.]{0,17}(,[0-9]{0,2})?")), campo));
    campo->setPlaceholderText(QStringLiteral("sem meta"));
    BrilhoFocoEscuro(campo);
    return campo;
}

QPushButton* Botao(QWidget* pai, const char* nome, int x, const QString& texto)
{
    QPushButton* botao = Coloca(new QPushButton(texto, pai), nome, x, 270, 80, 22);
    // Neither Enter nor a focused button's Enter presses it.
    botao->setAutoDefault(false);
    botao->setDefault(false);
    BrilhoFocoEscuro(botao);
    return botao;
}

} // namespace

TFrmConfiguracao::TFrmConfiguracao(QWidget* Dono, TConfig& Config, TConexao& Conexao)
    : QDialog(Dono, Qt::Dialog | Qt::FramelessWindowHint),
      RConfig(Coloca(new TRetangulo(this), "RConfig", -3, -5, 230, 318)),
      Label1(Rotulo(RConfig, "Label1", 8, 6, 201, 31, QStringLiteral("Vendas Por Hora"),
                    FonteTitulo())),
      TabControl1(Coloca(new QTabWidget(RConfig), "TabControl1", 8, 37, 213, 227)),
      tbiConf(new QWidget(TabControl1)),
      lblFilial(Rotulo(tbiConf, "lblFilial", 3, 3, 120, 15, QStringLiteral("Filial"))),
      ppbEmpresas(Coloca(new TListaEscura(tbiConf), "ppbEmpresas", 3, 17, 207, 21)),
      Label4(Rotulo(tbiConf, "Label4", 0, 47, 201, 24,
                    QStringLiteral("Horário de Funcionamento (Horas)"))),
      SbHoraIni(Hora(tbiConf, "SbHoraIni", 16, 0)),
      Label3(Rotulo(tbiConf, "Label3", 83, 78, 33, 17, QStringLiteral("h  ás"))),
      SbHoraFim(Hora(tbiConf, "SbHoraFim", 116, 23)),
      Label8(Rotulo(tbiConf, "Label8", 182, 78, 17, 17, QStringLiteral("h"))),
      chkConsideraPedidosImportados(
          Coloca(new TCaixaMarcacao(QStringLiteral("Considerar Pedidos Importados"), tbiConf),
                 "chkConsideraPedidosImportados", 2, 107, 207, 19)),
      tbiIndicadores(new QWidget(TabControl1)),
      lblComparacao(
          Rotulo(tbiIndicadores, "lblComparacao", 3, 3, 120, 15, QStringLiteral("Comparar com"))),
      ppbComparacao(Coloca(new TListaEscura(tbiIndicadores), "ppbComparacao", 3, 17, 207, 21)),
      lblMetaDia(
          Rotulo(tbiIndicadores, "lblMetaDia", 3, 47, 201, 15, QStringLiteral("Meta do dia (R$)"))),
      edtMetaDia(Valor(tbiIndicadores, "edtMetaDia", 3, 61, 207, 21)),
      Line1(Coloca(new QFrame(RConfig), "Line1", 12, 193, 210, 10)),
      lblOpacidade(Rotulo(RConfig, "lblOpacidade", 10, 196, 120, 15, QStringLiteral("Opacidade"))),
      ppbOpacidade(Coloca(new TListaEscura(RConfig), "ppbOpacidade", 10, 211, 210, 21)),
      ckbSempreVisivel(Coloca(new TCaixaMarcacao(QStringLiteral("Sempre Visível"), RConfig),
                              "ckbSempreVisivel", 8, 233, 120, 19)),
      btnSalvarConf(Botao(RConfig, "btnSalvarConf", 24, QStringLiteral("Salvar"))),
      BtnCancelarConf(Botao(RConfig, "BtnCancelarConf", 112, QStringLiteral("Cancelar")))
{
    setWindowTitle(QStringLiteral("Configurações"));
    setAttribute(Qt::WA_TranslucentBackground);
    setStyleSheet(FolhaEstiloEscuro());
    // Under the host's style sheet a font set on the dialog does not reach
    // its controls: each one that has none of its own gets it directly.
    for (QWidget* controle : findChildren<QWidget*>())
        if (controle->font().resolveMask() == 0)
            controle->setFont(FontePadrao());
    setFixedSize(222, 299);

    const qreal escala = devicePixelRatioF();
    QImage fundo = FundoConfiguracao().scaled(RConfig->size() * escala, Qt::IgnoreAspectRatio,
                                              Qt::SmoothTransformation);
    fundo.setDevicePixelRatio(escala);
    RConfig->SetImagem(fundo);
    RConfig->SetSemContorno();

    TabControl1->addTab(tbiConf, QStringLiteral("Configurações"));
    TabControl1->addTab(tbiIndicadores, QStringLiteral("Indicadores"));
    TabControl1->setCurrentWidget(tbiConf);
    ppbComparacao->addItems(NOMES_COMPARACOES);
    ppbComparacao->setCurrentIndex(1);
    Label4->setAlignment(Qt::AlignCenter);
    ppbOpacidade->addItems(OPACIDADES);
    ppbOpacidade->setCurrentIndex(0);

    connect(btnSalvarConf, &QPushButton::clicked, this,
            [this] { plataforma::Tratando([this] { btnSalvarConfClick(); }); });
    connect(BtnCancelarConf, &QPushButton::clicked, this, &TFrmConfiguracao::BtnCancelarConfClick);

    FormCreate(Config, Conexao);
}

TFrmConfiguracao::~TFrmConfiguracao() = default;

// Without a compositor the see-through corners would show black: the window
// keeps to its panel's shape.
void TFrmConfiguracao::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    AtualizaMascara(this);
}

void TFrmConfiguracao::FormCreate(const TConfig& Config, TConexao& Conexao)
{
    CriaQueryBusca(Conexao);
    if (!CarregaEmpresas())
        return;
    if (!QFileInfo::exists(plataforma::CaminhoArquivoIni()))
        return;

    if (!Config.Empresa().isEmpty()) {
        // The code's bytes as the file holds them, else its text: a code the
        // file holds in another encoding than the database's is still the
        // branch it names, and saving it mends the file.
        int linha = ppbEmpresas->findData(Config.BytesNoArquivo(Config.Empresa()), BYTES_CODIGO);
        if (linha < 0)
            linha = ppbEmpresas->findData(Config.Empresa());
        if (linha > 0)
            ppbEmpresas->setCurrentIndex(linha);
    }
    SbHoraIni->setValue(StrToInt(Config.HoraIni()));
    SbHoraFim->setValue(StrToInt(Config.HoraFim()));
    const int opacidade = TRANSPARENCIAS.indexOf(QString::number(StrToInt(Config.Transparencia())));
    if (opacidade >= 0)
        ppbOpacidade->setCurrentIndex(opacidade);
    switch (StrToInt(Config.SempreVisivel())) {
    case 0:
        ckbSempreVisivel->setChecked(false);
        break;
    case 1:
        ckbSempreVisivel->setChecked(true);
        break;
    }
    chkConsideraPedidosImportados->setChecked(Config.PedidosImportados() == QLatin1String("1"));
    ppbComparacao->setCurrentIndex(
        static_cast<int>(std::find(std::begin(COMPARACOES), std::end(COMPARACOES),
                                   LerComparacao(Config.Comparacao()))
                         - std::begin(COMPARACOES)));
    if (const std::optional<double> meta = LerMetaDia(Config.MetaDia()))
        edtMetaDia->setText(TextoDinheiro(*meta, true));
}

void TFrmConfiguracao::CriaQueryBusca(TConexao& Conexao)
{
    qryBusca = std::make_unique<TQuery>(Conexao.GetBancoDados(), Conexao.GetTransaction());
}

bool TFrmConfiguracao::CarregaEmpresas()
{
    auto filiais = std::make_shared<QList<TFilial>>();
    TQuery* busca = qryBusca.get();
    const bool lidas =
        TFilaBanco::Programa().Executar([busca, filiais] { *filiais = LerFiliaisAtivas(*busca); });
    if (!lidas)
        return false;
    ppbEmpresas->addItem(TODAS_AS_FILIAIS);
    // The entry keeps its code whole: cutting it from the text would lose
    // codes longer than two characters.
    for (const TFilial& filial : std::as_const(*filiais)) {
        ppbEmpresas->addItem(filial.Texto(), DecodificarTexto(filial.Codigo));
        ppbEmpresas->setItemData(ppbEmpresas->count() - 1, filial.Codigo, BYTES_CODIGO);
    }
    ppbEmpresas->setCurrentIndex(0);
    return true;
}

void TFrmConfiguracao::MostraEmpresa(const QByteArray& Codigo)
{
    ppbEmpresas->setCurrentIndex(
        Codigo.isNull() ? 0 : std::max(0, ppbEmpresas->findData(Codigo, BYTES_CODIGO)));
}

void TFrmConfiguracao::AdicionaGadget(TGadget* Gadget)
{
    ggtVendasHora = Gadget;
}

void TFrmConfiguracao::btnSalvarConfClick()
{
    // The dialog waits for the database with its events turning: a second
    // click meanwhile must not start a second save.
    if (!btnSalvarConf->isEnabled())
        return;
    btnSalvarConf->setEnabled(false);
    const auto reativa = qScopeGuard([this] { btnSalvarConf->setEnabled(true); });
    const std::optional<double> meta = MetaDigitada();
    TFilaBanco& fila = TFilaBanco::Programa();
    TConfig& config = *ggtVendasHora->Config();
    if (ppbEmpresas->currentIndex() <= 0) {
        config.setEmpresa(QString());
    } else {
        // A reconnect closes the query; a database that cannot answer it
        // stops the save before anything changes.
        TQuery* busca = qryBusca.get();
        if (!fila.Executar([busca] {
                if (!busca->IsOpen())
                    busca->Open();
            }))
            return;
        config.SetEmpresaDoBanco(ppbEmpresas->currentData(BYTES_CODIGO).toByteArray());
    }
    config.setHoraIni(QString::number(SbHoraIni->value()));
    config.setHoraFim(QString::number(SbHoraFim->value()));
    const int opacidade = ppbOpacidade->currentIndex();
    if (opacidade >= 0)
        config.setTransparencia(TRANSPARENCIAS.at(opacidade));
    config.setSempreVisivel(ckbSempreVisivel->isChecked() ? QStringLiteral("1")
                                                          : QStringLiteral("0"));
    // A stored text that means what is shown stays as it is.
    const TComparacao comparacao = COMPARACOES[std::max(ppbComparacao->currentIndex(), 0)];
    if (LerComparacao(config.Comparacao()) != comparacao)
        config.setComparacao(ValorComparacao(comparacao));
    if (LerMetaDia(config.MetaDia()) != meta)
        config.setMetaDia(ValorMetaDia(meta));
    // The dialog waits for its save with its events turning.
    if (!TFilaGravacao::Programa().SalvarEsperando(config))
        return;
    TConexao* conexao = ggtVendasHora->Conexao();
    if (!fila.Executar([conexao] { conexao->ConectarBanco(); }))
        return;
    // Set after the save: the file takes it at the record's next save, the
    // gadget uses it at once.
    config.setPedidosImportados(chkConsideraPedidosImportados->isChecked() ? QStringLiteral("1")
                                                                           : QStringLiteral("0"));
    ggtVendasHora->IniciarGadget(ggtVendasHora);
    close();
}

std::optional<double> TFrmConfiguracao::MetaDigitada()
{
    const QString texto = edtMetaDia->text().trimmed();
    if (texto.isEmpty())
        return std::nullopt;
    const std::optional<double> meta = LerDinheiro(texto, false);
    if (meta && *meta > 0)
        return meta;
    TabControl1->setCurrentWidget(tbiIndicadores);
    edtMetaDia->setFocus();
    edtMetaDia->selectAll();
    throw TErro(QStringLiteral("Meta do dia inválida: \"%1\". Informe um valor em reais maior que "
                               "zero, como 1.500,00, ou deixe o campo vazio para não ter meta.")
                    .arg(texto));
}

void TFrmConfiguracao::BtnCancelarConfClick()
{
    close();
}
