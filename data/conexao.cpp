#include "data/conexao.h"

#include "base/erro.h"

QString NomeDoBanco(const QString& LocRem, const QString& Protocolo, const QString& Servidor,
                    const QString& CaminhoBanco, const QString& anterior)
{
    if (LocRem != QLatin1String("R"))
        return CaminhoBanco;
    if (Protocolo == QLatin1String("0"))
        return Servidor + u':' + CaminhoBanco;
    if (Protocolo == QLatin1String("1"))
        return QLatin1String("\\\\") + Servidor + u'\\' + CaminhoBanco;
    if (Protocolo == QLatin1String("2"))
        return Servidor + u'@' + CaminhoBanco;
    return anterior;
}

TConexao::~TConexao()
{
    // A destructor cannot report; whatever fails here is let go with the
    // connection.
    try {
        FIBDataVantrel.Desanexar();
    } catch (const TErro&) {
    }
}

void TConexao::SetConfiguracao(const QString& Tipo, const QString& Prot, const QString& Serv,
                               const QString& CamBanco, const QString& Usu, const QString& Senha)
{
    FLocRem = Tipo;
    FProtocolo = Prot;
    FServidor = Serv;
    FCaminhoBanco = CamBanco;
    FUsuario = Usu;
    FSenha = Senha;
}

bool TConexao::ConectarBanco()
{
    FIBDataVantrel.Desanexar();
    FIBDataVantrel.SetNomeBanco(
        NomeDoBanco(FLocRem, FProtocolo, FServidor, FCaminhoBanco, FIBDataVantrel.NomeBanco()));
    FIBDataVantrel.Conectar(FLocRem != QLatin1String("R"), FUsuario, FSenha);
    return true;
}

bool TConexao::Conectado() const
{
    return FIBDataVantrel.Anexado();
}

void TConexao::LiberarMotorEmbutido()
{
    FIBDataVantrel.LiberarEmbutido();
}

TLiberacaoEmbutido::~TLiberacaoEmbutido()
{
    FConexao.LiberarMotorEmbutido();
}

void TConexao::Descartar()
{
    FIBTransVantrel.Descartar();
    FIBDataVantrel.Descartar();
}
