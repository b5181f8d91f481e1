#include "config/config.h"

#include "config/arquivo_atomico.h"
#include "config/arquivo_ini.h"
#include "platform/seams.h"
#include "platform/texto.h"

#include <QFile>

TConfig::TConfig(const QString& Secao) : FSecao(Secao) {}

void TConfig::CarregarIni()
{
    const TextoIni ini = LerArquivoIni(plataforma::CaminhoArquivoIni());
    FArquivoUtf8 = ini.Utf8();
    const auto comum = [&](const char* chave) {
        return ini.Ler(SECAO_CONFIG_ARQINI, QLatin1String(chave));
    };
    FLocRem = comum("LocRem");
    FServidor = comum("Servidor");
    FProtocolo = comum("Protocolo");
    FCaminhoBanco = comum("CaminhoBanco");
    FUsuario = comum("Usuario");
    FSenha = comum("Senha");
    if (FSecao.isEmpty())
        return;

    const auto ler = [&](const char* chave) { return ini.Ler(FSecao, QLatin1String(chave)); };
    FSempreVisivel = ler("SempreVisivel");
    FTransparencia = ler("Transparencia");
    FEmpresa = ler("Empresa");
    FAtualizaDados = ler("AtualizaDados");
    FPosX = ler("PosX");
    FPosY = ler("PosY");
    FTipoDeLucro = ler("TipoDeLucro");
    FListar = ler("Listar");
    FFaturados = ler("Faturados");
    FMargem = ler("Margem");
    FMeta = ler("Meta");
    FHoraIniExp = ler("HoraIniExp");
    FHoraFimExp = ler("HoraFimExp");
    FDevolucoes = ler("Devolucoes");
    FTrocas = ler("Trocas");
    FPedidos = ler("Pedidos");
    FTiposPedido = ler("TiposPedido");
    FModo = ler("Modo");
    FFiltroData = ler("FiltroData");
    FTipoVenda = ler("TipoVenda");
    FDataInicial = ler("DataInicial");
    FDataFinal = ler("DataFinal");
    FPeriodo = ler("Periodo");
    FMostraPedidos = ler("MostraPedidos");
    FPedidosImportados = ler("PedidosImportados");

    // This gadget's own section never carries "ContasCaixa".
    if (FSecao.compare(SECAO_VENDAS_HORA, Qt::CaseInsensitive) != 0)
        FContas = RetornaContasCaixa();
}

QString TConfig::RetornaContasCaixa() const
{
    static const QString marca = QStringLiteral("ContasCaixa=");
    const QString texto =
        DecodificarTexto(arquivo::Ler(QFile::encodeName(plataforma::CaminhoArquivoIni())).bytes);
    for (QStringView linha : QStringView(texto).split(u'\n')) {
        if (linha.endsWith(u'\r'))
            linha.chop(1);
        const qsizetype i = linha.indexOf(marca);
        if (i >= 0)
            return linha.mid(i + marca.size()).toString();
    }
    return {};
}

void TConfig::InstanciaVariaveis(const QString& SiglaGadget)
{
    FIniWindows = QStringLiteral("1");
    if (FTransparencia.isEmpty())
        FTransparencia = QStringLiteral("100");
    if (FAtualizaDados.isEmpty())
        FAtualizaDados = QStringLiteral("1");
    if (FSempreVisivel.isEmpty())
        FSempreVisivel = QStringLiteral("0");
    if (FMostraPedidos.trimmed().isEmpty())
        FMostraPedidos = QStringLiteral("0");
    if (FPedidosImportados.isEmpty())
        FPedidosImportados = QStringLiteral("0");
    if (SiglaGadget == SIGLA_VENDAS_HORA) {
        if (FHoraIni.isEmpty())
            FHoraIni = QStringLiteral("8");
        if (FHoraFim.isEmpty())
            FHoraFim = QStringLiteral("18");
    }
}

void TConfig::SalvarIni()
{
    // One replacement of the file for the whole record: a failure leaves none
    // of these keys written.
    bool utf8 = FArquivoUtf8;
    AlterarArquivoIni(plataforma::CaminhoArquivoIni(), [this, &utf8](TextoIni& ini) {
        const auto escrever = [&](const char* chave, const QString& valor) {
            ini.Escrever(FSecao, QLatin1String(chave), valor);
        };
        const auto seNaoVazio = [&](const char* chave, const QString& valor) {
            if (!valor.isEmpty())
                escrever(chave, valor);
        };
        escrever("SempreVisivel", FSempreVisivel);
        escrever("Transparencia", FTransparencia);
        escrever("Empresa", FEmpresa);
        escrever("AtualizaDados", FAtualizaDados);
        escrever("PosX", FPosX);
        escrever("PosY", FPosY);
        escrever("IniWindows", FIniWindows);
        seNaoVazio("TipoDeLucro", FTipoDeLucro);
        seNaoVazio("Listar", FListar);
        seNaoVazio("Faturados", FFaturados);
        seNaoVazio("ContasCaixa", FContas);
        seNaoVazio("Margem", FMargem);
        seNaoVazio("Meta", FMeta);
        seNaoVazio("HoraIniExp", FHoraIniExp);
        seNaoVazio("HoraFimExp", FHoraFimExp);
        seNaoVazio("Devolucoes", FDevolucoes);
        seNaoVazio("Trocas", FTrocas);
        seNaoVazio("Pedidos", FPedidos);
        seNaoVazio("TiposPedido", FTiposPedido);
        seNaoVazio("TipoVenda", FTipoVenda);
        seNaoVazio("FiltroData", FFiltroData);
        seNaoVazio("DataInicial", FDataInicial);
        seNaoVazio("DataFinal", FDataFinal);
        seNaoVazio("Periodo", FPeriodo);
        seNaoVazio("MostraPedidos", FMostraPedidos);
        seNaoVazio("PedidosImportados", FPedidosImportados);
        escrever("Modo", FModo);
        // The application title, which this program leaves empty.
        escrever("GadGet", QString());
        // A save can change the file's encoding (a line that made it
        // Windows-1252 replaced).
        utf8 = TextoIni(ini.Conteudo()).Utf8();
    });
    FArquivoUtf8 = utf8;
}

QByteArray TConfig::BytesNoArquivo(const QString& texto) const
{
    return CodificarTexto(texto, FArquivoUtf8);
}

bool BancoInformado(const TConfig& config)
{
    return !config.CaminhoBanco().isEmpty() && !config.Usuario().isEmpty()
           && !config.Senha().isEmpty();
}
