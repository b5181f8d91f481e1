#include "sales_per_hour/exportar_csv.h"

#include "base/dinheiro.h"
#include "base/versao.h"
#include "config/arquivo_ini.h"
#include "config/config.h"
#include "data/conexao.h"
#include "data/configurar_conexao.h"
#include "platform/caminhos.h"
#include "sales_per_hour/vendas_hora_dados.h"
#include "sales_per_hour/vendas_periodo.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <functional>

namespace {

// Server texts come in several lines ("Table unknown\n-PEDIDOC"): the
// error must stay on one.
QString UmaLinha(const QString& texto)
{
    QStringList partes;
    for (QString parte : texto.split(QRegularExpression(QStringLiteral("[\r\n]+")))) {
        parte = parte.trimmed();
        if (parte.startsWith(u'-'))
            parte = parte.mid(1).trimmed();
        if (!parte.isEmpty())
            partes << parte;
    }
    return partes.join(QStringLiteral("; "));
}

TConfig ConfiguracaoDoArquivo()
{
    const QString arquivo = plataforma::CaminhoArquivoIni();
    if (!QFileInfo::exists(arquivo))
        throw TErro(
            QStringLiteral("Gadgets não configuradas: o arquivo %1 não existe").arg(arquivo));
    if (!ArquivoIniUtilizavel(arquivo))
        throw TErro(
            QStringLiteral("Gadgets não configuradas: %1 não é um arquivo comum").arg(arquivo));
    TConfig config(SECAO_VENDAS_HORA);
    config.CarregarIni();
    if (!BancoInformado(config))
        throw TErro(QStringLiteral("Configurações do banco de dados não informadas corretamente "
                                   "(CaminhoBanco, Usuario, Senha) em %1")
                        .arg(arquivo));
    // The gadget's defaults, in memory only: this command writes nothing.
    config.InstanciaVariaveis(SIGLA_VENDAS_HORA);
    return config;
}

// On a database thread with a limit, as the gadget reads: a network gone
// silent or a statement that runs for ever end at the limit.
void LerNoBanco(const TConfig& config, std::chrono::seconds limite,
                const std::function<void(TConexao&)>& ler)
{
    TFilaBanco fila(limite);
    const bool lida = fila.Executar([&] {
        TConexao conexao;
        ConfigurarConexao(conexao, config);
        try {
            try {
                conexao.ConectarBanco();
            } catch (const TErroLoginRecusado&) {
                throw; // says it already, in the same words
            } catch (const TErro& e) {
                throw TErro(QStringLiteral("Não foi possível conectar ao banco de dados: ")
                            + e.Texto());
            }
            const TLiberacaoEmbutido liberacao(conexao);
            try {
                ler(conexao);
            } catch (const TErro& e) {
                throw TErro(QStringLiteral("Erro na consulta das vendas: ") + e.Texto());
            }
        } catch (...) {
            // Closed from outside at the limit: nothing of it can be asked.
            if (fila.AbortouTrabalhoAtual())
                conexao.Descartar();
            throw;
        }
    });
    if (!lida)
        throw TErro(QStringLiteral("a leitura foi interrompida"));
}

TConfig ConfiguracaoDaExecucao(const TOpcoesCsv& opcoes)
{
    TConfig config = ConfiguracaoDoArquivo();
    config.setHoraIni(opcoes.horaIni);
    config.setHoraFim(opcoes.horaFim);
    return config;
}

// One day of the configured branches, with its reference, printed once read.
void TabelaDoDia(const TOpcoesCsv& opcoes, QTextStream& saida)
{
    const TConfig config = ConfiguracaoDaExecucao(opcoes);
    const TComparacao comparacao = opcoes.comparar.value_or(LerComparacao(config.Comparacao()));
    TVendasHoraDados dados;
    LerNoBanco(config, opcoes.tempoLimite, [&](TConexao& conexao) {
        if (opcoes.detalhado)
            dados.ValorDasVendas(config, conexao, opcoes.dia, comparacao, nullptr, QDate(),
                                 QDateTime());
        else
            dados.ValorDasVendas(config, conexao, opcoes.dia);
    });
    if (opcoes.formato == TFormatoSaida::Csv) {
        // Built whole before any of it goes out: a failure prints nothing.
        saida << (opcoes.detalhado ? TextoCsvDetalhado(dados.CdsTemp(),
                                                       dados.Indicadores(std::nullopt), comparacao)
                                   : TextoCsv(dados.CdsTemp()));
        return;
    }
    TSaidaTabela tabela(saida, opcoes.formato,
                        {.Detalhado = opcoes.detalhado, .Referencia = opcoes.detalhado});
    tabela.Bloco(DataDoDia(opcoes.dia), QString(), dados.CdsTemp(),
                 dados.Indicadores(std::nullopt));
    tabela.Fim();
}

// A period, or a day by branch: each day goes out as soon as it is read.
void TabelaEmFluxo(const TOpcoesCsv& opcoes, QTextStream& saida)
{
    const TConfig config = ConfiguracaoDaExecucao(opcoes);
    const bool periodo = opcoes.de.isValid();
    const QDate de = periodo ? opcoes.de : DataDoDia(opcoes.dia);
    const QDate ate = periodo ? opcoes.ate : de;
    TSaidaTabela tabela(
        saida, opcoes.formato,
        {.Data = periodo, .Filial = opcoes.porFilial, .Detalhado = opcoes.detalhado});
    LerNoBanco(config, opcoes.tempoLimite, [&](TConexao& conexao) {
        LerVendasPeriodo(config, conexao, de, ate, opcoes.porFilial,
                         [&](const TBlocoVendas& bloco) {
                             tabela.Bloco(bloco.Dia, bloco.Filial.value_or(QString()), bloco.Tabela,
                                          bloco.Indicadores);
                             saida.flush();
                         });
    });
    tabela.Fim();
}

} // namespace

QString TextoCsv(const TTabelaVendasHora& tabela)
{
    QString texto = QStringLiteral("HORA;VALOR\n");
    for (const TTabelaVendasHora::TLinha& linha : tabela.Linhas())
        texto += linha.HORA + u';' + TextoDinheiro(linha.VALOR, false) + u'\n';
    return texto;
}

QString TextoCsvDetalhado(const TTabelaVendasHora& tabela, const TIndicadores& indicadores,
                          TComparacao comparacao)
{
    const auto dinheiro = [](std::optional<double> valor) {
        return valor ? TextoDinheiro(*valor, false) : QString();
    };
    const auto linha = [&](const QString& hora, double valor, int vendas,
                           std::optional<double> ticket, std::optional<double> referencia) {
        return QStringList{hora, TextoDinheiro(valor, false), QString::number(vendas),
                           dinheiro(ticket),
                           comparacao == TComparacao::Nada ? QString() : dinheiro(referencia)}
                   .join(u';')
               + u'\n';
    };
    QString texto = QStringLiteral("HORA;VALOR;VENDAS;TICKET;REFERENCIA\n");
    for (size_t i = 0; i < tabela.Linhas().size(); ++i) {
        const TTabelaVendasHora::TLinha& hora = tabela.Linhas()[i];
        texto += linha(hora.HORA, hora.VALOR, hora.VENDAS, indicadores.Horas[i].Ticket,
                       indicadores.Horas[i].Referencia);
    }
    return texto
           + linha(QStringLiteral("TOTAL"), indicadores.Total, indicadores.Vendas,
                   indicadores.Ticket, indicadores.Referencia);
}

int ExecutarVendasPorHoraCsv(const QStringList& argumentos, QTextStream& saida, QTextStream& erros)
{
    TOpcoesCsv opcoes;
    try {
        opcoes = LerOpcoesCsv(argumentos);
    } catch (const TErroDeUso& e) {
        erros << PROGRAMA_CSV << ": " << UmaLinha(e.Texto()) << ". Veja --help.\n";
        erros.flush();
        return 1;
    }
    if (opcoes.ajuda || opcoes.versao) {
        saida << (opcoes.ajuda ? USO_VENDAS_POR_HORA_CSV
                               : QStringLiteral("%1 %2\n").arg(PROGRAMA_CSV, VERSAO_GADGET));
        saida.flush();
        return 0;
    }
    const auto falha = [&](const QString& texto) {
        erros << PROGRAMA_CSV << ": " << UmaLinha(texto) << '\n';
        erros.flush();
        return 2;
    };
    try {
        if (opcoes.de.isValid() || opcoes.porFilial)
            TabelaEmFluxo(opcoes, saida);
        else
            TabelaDoDia(opcoes, saida);
        saida.flush();
        return 0;
    } catch (const TErroTempoEsgotado& e) {
        return falha(e.Texto() + QStringLiteral(" Para esperar mais, use --tempo-limite."));
    } catch (const TErro& e) {
        return falha(e.Texto());
    } catch (const std::exception& e) {
        return falha(QString::fromLocal8Bit(e.what()));
    }
}
