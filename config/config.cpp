#include "config/config.h"

#include "base/texto.h"
#include "config/arquivo_atomico.h"
#include "config/arquivo_ini.h"
#include "platform/caminhos.h"

#include <QFile>

namespace {

enum class TSecaoIni {
    Comum, // shared by the family; this record never writes it
    Gadget, // the record's own
};

enum class TEscrita {
    Nunca,
    Sempre,
    SeNaoVazia,
    // When it differs from the file's: a value this program cannot use stays
    // as the user or another program left it.
    SeMudou,
};

} // namespace

struct TConfig::TChave {
    const char* Nome;
    TSecaoIni Secao;
    bool Lida; // false: filled otherwise, or never read
    TEscrita Escrita;
    QString TConfig::*Campo; // null: always written empty
    // Bytes given for the key, written instead of its text while that is the
    // text they stand for (null bytes: none given).
    QByteArray TConfig::*Bytes = nullptr;
};

const TConfig::TChave TConfig::CHAVES[] = {
    {"LocRem", TSecaoIni::Comum, true, TEscrita::Nunca, &TConfig::FLocRem},
    {"Servidor", TSecaoIni::Comum, true, TEscrita::Nunca, &TConfig::FServidor},
    {"Protocolo", TSecaoIni::Comum, true, TEscrita::Nunca, &TConfig::FProtocolo},
    {"CaminhoBanco", TSecaoIni::Comum, true, TEscrita::Nunca, &TConfig::FCaminhoBanco},
    {"Usuario", TSecaoIni::Comum, true, TEscrita::Nunca, &TConfig::FUsuario},
    {"Senha", TSecaoIni::Comum, true, TEscrita::Nunca, &TConfig::FSenha},
    {"SempreVisivel", TSecaoIni::Gadget, true, TEscrita::Sempre, &TConfig::FSempreVisivel},
    {"Transparencia", TSecaoIni::Gadget, true, TEscrita::Sempre, &TConfig::FTransparencia},
    {"Empresa", TSecaoIni::Gadget, true, TEscrita::Sempre, &TConfig::FEmpresa,
     &TConfig::FBytesEmpresa},
    {"AtualizaDados", TSecaoIni::Gadget, true, TEscrita::Sempre, &TConfig::FAtualizaDados},
    {"PosX", TSecaoIni::Gadget, true, TEscrita::Sempre, &TConfig::FPosX},
    {"PosY", TSecaoIni::Gadget, true, TEscrita::Sempre, &TConfig::FPosY},
    {"IniWindows", TSecaoIni::Gadget, false, TEscrita::Sempre, &TConfig::FIniWindows},
    {"TipoDeLucro", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FTipoDeLucro},
    {"Listar", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FListar},
    {"Faturados", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FFaturados},
    // Read from wherever the file has it (RetornaContasCaixa).
    {"ContasCaixa", TSecaoIni::Gadget, false, TEscrita::SeNaoVazia, &TConfig::FContas},
    {"Margem", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FMargem},
    {"Meta", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FMeta},
    {"HoraIniExp", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FHoraIniExp},
    {"HoraFimExp", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FHoraFimExp},
    {"Devolucoes", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FDevolucoes},
    {"Trocas", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FTrocas},
    {"Pedidos", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FPedidos},
    {"TiposPedido", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FTiposPedido},
    {"TipoVenda", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FTipoVenda},
    {"FiltroData", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FFiltroData},
    {"DataInicial", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FDataInicial},
    {"DataFinal", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FDataFinal},
    {"Periodo", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FPeriodo},
    {"MostraPedidos", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia, &TConfig::FMostraPedidos},
    {"PedidosImportados", TSecaoIni::Gadget, true, TEscrita::SeNaoVazia,
     &TConfig::FPedidosImportados},
    {"Modo", TSecaoIni::Gadget, true, TEscrita::Sempre, &TConfig::FModo},
    // The application title, which this program leaves empty.
    {"GadGet", TSecaoIni::Gadget, false, TEscrita::Sempre, nullptr},
    // This gadget's own additions, unknown to the rest of the family.
    {"Comparacao", TSecaoIni::Gadget, true, TEscrita::SeMudou, &TConfig::FComparacao},
    {"MetaDia", TSecaoIni::Gadget, true, TEscrita::SeMudou, &TConfig::FMetaDia},
};

TConfig::TConfig(const QString& Secao) : FSecao(Secao) {}

void TConfig::CarregarIni()
{
    const TLeituraIni leitura = LerArquivoIni(plataforma::CaminhoArquivoIni());
    const TTextoIni& ini = leitura.texto;
    FMotivoSemLeitura = leitura.motivo;
    FArquivoUtf8 = ini.Utf8();
    // Each section in one pass over the file.
    for (const TSecaoIni qual : {TSecaoIni::Comum, TSecaoIni::Gadget}) {
        const QString& secao = qual == TSecaoIni::Comum ? SECAO_CONFIG_ARQINI : FSecao;
        if (secao.isEmpty())
            continue;
        QStringList nomes;
        std::vector<QString TConfig::*> campos;
        for (const TChave& chave : CHAVES) {
            if (chave.Lida && chave.Secao == qual) {
                nomes << QLatin1String(chave.Nome);
                campos.push_back(chave.Campo);
            }
        }
        const QStringList valores = ini.Ler(secao, nomes);
        for (std::size_t i = 0; i < campos.size(); ++i)
            this->*campos[i] = valores[static_cast<qsizetype>(i)];
    }
    FNoArquivo.clear();
    for (const TChave& chave : CHAVES) {
        if (chave.Escrita == TEscrita::SeMudou)
            FNoArquivo.insert(QLatin1String(chave.Nome), this->*chave.Campo);
    }
    if (FSecao.isEmpty())
        return;

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
    TGravacao gravacao = Gravacao();
    gravacao.Gravar();
    GravacaoFeita(gravacao);
}

TConfig::TGravacao TConfig::Gravacao() const
{
    TGravacao g;
    g.FSecao = FSecao;
    for (const TChave& chave : CHAVES) {
        const QString nome = QLatin1String(chave.Nome);
        const QString valor = chave.Campo ? this->*chave.Campo : QString();
        if (chave.Escrita == TEscrita::Sempre
            || (chave.Escrita == TEscrita::SeNaoVazia && !valor.isEmpty())
            || (chave.Escrita == TEscrita::SeMudou && valor != FNoArquivo.value(nome))) {
            TGravacao::TChaveGravada& gravada = g.FChaves.emplace_back();
            gravada.chave = &chave;
            gravada.valor = valor;
            if (chave.Bytes && !(this->*chave.Bytes).isNull()
                && DecodificarTexto(this->*chave.Bytes) == valor)
                gravada.bytes = this->*chave.Bytes;
        }
    }
    return g;
}

void TConfig::TGravacao::Gravar()
{
    // One replacement of the file for the whole record: a failure leaves none
    // of these keys written. A save can change the file's encoding (a line
    // that made it Windows-1252 replaced, bytes that are not UTF-8 written).
    FUtf8 = AlterarArquivoIni(plataforma::CaminhoArquivoIni(), [this](TTextoIni& ini) {
        for (const TChaveGravada& c : FChaves) {
            const QString nome = QLatin1String(c.chave->Nome);
            if (c.bytes)
                ini.EscreverBytes(FSecao, nome, *c.bytes);
            else
                ini.Escrever(FSecao, nome, c.valor);
        }
        for (TChaveGravada& c : FChaves) {
            if (c.bytes)
                c.lido = ini.Ler(FSecao, QLatin1String(c.chave->Nome));
        }
    });
}

void TConfig::GravacaoFeita(const TGravacao& gravacao)
{
    FArquivoUtf8 = gravacao.FUtf8;
    for (const TGravacao::TChaveGravada& c : gravacao.FChaves) {
        const QString nome = QLatin1String(c.chave->Nome);
        if (FNoArquivo.contains(nome))
            FNoArquivo.insert(nome, c.valor);
        // The value is what the file reads, unless the user chose another
        // since.
        if (c.bytes && this->*c.chave->Bytes == *c.bytes) {
            this->*c.chave->Campo = c.lido;
            this->*c.chave->Bytes = QByteArray();
        }
    }
}

void TConfig::SetEmpresaDoBanco(const QByteArray& bytes)
{
    FEmpresa = DecodificarTexto(bytes);
    FBytesEmpresa = bytes.isNull() ? QByteArray("") : bytes;
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
