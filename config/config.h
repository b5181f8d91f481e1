#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

// Name of the configuration file's section shared by the whole family.
inline const QString SECAO_CONFIG_ARQINI = QStringLiteral("Configuracoes");

// This gadget's own section of that file, and its three-letter code.
inline const QString SECAO_VENDAS_HORA = QStringLiteral("GadGetVendHora");
inline const QString SIGLA_VENDAS_HORA = QStringLiteral("GVH");

// What an empty "Empresa" stands for, as the views and the dialog name it.
inline const QString TODAS_AS_FILIAIS = QStringLiteral("Todas as Filiais");

// One gadget's settings: the database settings of the shared section and every
// key of the gadget's own section, each held as the text the file has.
class TConfig {
    QString FSecao; // empty: the record reads the shared section only
    // Every key of the file that the record reads or writes, in write order.
    struct TChave;

public:
    explicit TConfig(const QString& Secao);

    void CarregarIni();
    void InstanciaVariaveis(const QString& SiglaGadget);
    void SalvarIni();

    // Why the last load read nothing from a file that is there: its path and
    // the system's reason ("permissão negada"); empty when it was read.
    const QString& MotivoSemLeitura() const { return FMotivoSemLeitura; }

    // SalvarIni in two steps, for a save on another thread: the keys as the
    // record holds them now, written later while the record may change.
    class TGravacao {
    public:
        // Throws TErro as SalvarIni does.
        void Gravar();

    private:
        friend class TConfig;
        struct TChaveGravada {
            const TChave* chave = nullptr;
            QString valor;
            std::optional<QByteArray> bytes; // written as they are, not as the text
            QString lido; // what the file reads after the bytes were written
        };
        QString FSecao;
        std::vector<TChaveGravada> FChaves;
        bool FUtf8 = true;
    };
    TGravacao Gravacao() const;
    // The file's encoding, and the branch code as it reads, after a save done
    // with Gravar.
    void GravacaoFeita(const TGravacao& gravacao);

    // A text of the file as the bytes the file holds it in (UTF-8 or
    // Windows-1252, as the file was read or last written): a database
    // parameter must carry those to match what the shop's system stored.
    QByteArray BytesNoArquivo(const QString& texto) const;

    // The branch code as the database holds it: the next save writes these
    // very bytes (unless that would change how the rest of the file reads,
    // TTextoIni::EscreverBytes), so that the code reaches the same rows
    // whatever encoding the file is in. Empresa() is the text they stand for
    // until then, and what the file reads after.
    void SetEmpresaDoBanco(const QByteArray& bytes);

#define VPH_PROPRIEDADE(Nome)                                                                      \
public:                                                                                            \
    const QString& Nome() const                                                                    \
    {                                                                                              \
        return F##Nome;                                                                            \
    }                                                                                              \
    void set##Nome(const QString& valor)                                                           \
    {                                                                                              \
        F##Nome = valor;                                                                           \
    }                                                                                              \
                                                                                                   \
private:                                                                                           \
    QString F##Nome;

    VPH_PROPRIEDADE(LocRem)
    VPH_PROPRIEDADE(Servidor)
    VPH_PROPRIEDADE(Protocolo)
    VPH_PROPRIEDADE(CaminhoBanco)
    VPH_PROPRIEDADE(Usuario)
    VPH_PROPRIEDADE(Senha)
    VPH_PROPRIEDADE(SempreVisivel)
    VPH_PROPRIEDADE(Transparencia)
    VPH_PROPRIEDADE(Empresa)
    VPH_PROPRIEDADE(TipoVenda)
    VPH_PROPRIEDADE(Periodo)
    VPH_PROPRIEDADE(AtualizaDados)
    VPH_PROPRIEDADE(PosX)
    VPH_PROPRIEDADE(PosY)
    VPH_PROPRIEDADE(IniWindows)
    VPH_PROPRIEDADE(DataInicial)
    VPH_PROPRIEDADE(DataFinal)
    VPH_PROPRIEDADE(TipoDeLucro)
    VPH_PROPRIEDADE(Listar)
    VPH_PROPRIEDADE(Faturados)
    VPH_PROPRIEDADE(Contas)
    VPH_PROPRIEDADE(Margem)
    VPH_PROPRIEDADE(HoraIni)
    VPH_PROPRIEDADE(HoraFim)
    VPH_PROPRIEDADE(Modo)
    VPH_PROPRIEDADE(FiltroData)
    VPH_PROPRIEDADE(Meta)
    VPH_PROPRIEDADE(Devolucoes)
    VPH_PROPRIEDADE(Trocas)
    VPH_PROPRIEDADE(Pedidos)
    VPH_PROPRIEDADE(TiposPedido)
    VPH_PROPRIEDADE(HoraIniExp)
    VPH_PROPRIEDADE(HoraFimExp)
    VPH_PROPRIEDADE(MostraPedidos)
    VPH_PROPRIEDADE(PedidosImportados)
    VPH_PROPRIEDADE(Comparacao)
    VPH_PROPRIEDADE(MetaDia)

#undef VPH_PROPRIEDADE

private:
    static const TChave CHAVES[];

    QString RetornaContasCaixa() const;

    bool FArquivoUtf8 = true;
    // The keys written only when changed, as the file had them when read or
    // last saved.
    QHash<QString, QString> FNoArquivo;
    QByteArray FBytesEmpresa; // null: none given since the last save
    QString FMotivoSemLeitura;
};

// The shared section names a database, a user and a password: without all
// three no connection is tried.
bool BancoInformado(const TConfig& config);
